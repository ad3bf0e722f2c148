#!/usr/bin/env bash
# The code's structure: includes point one way (no module includes another that
# includes it back, directly or in a loop; nothing outside app/ includes app/), and
# no source file grows past 450 non-blank lines.
set -euo pipefail
cd "$(dirname "$0")/../.."
command -v python3 >/dev/null 2>&1 || bash scripts/deps.sh python3
python3 tools/include_cycles.py --layers
status=0
while read -r file; do
    lines=$(grep -c -v '^\s*$' "$file" || true)
    if [ "$lines" -gt 450 ]; then
        echo "$file has $lines non-blank lines (at most 450: split it by concern)" >&2
        status=1
    fi
done < <(git ls-files 'src/*.cpp' 'src/*.h' 2>/dev/null || find src -name '*.cpp' -o -name '*.h')
[ "$status" -eq 0 ] && echo "source files: none above 450 non-blank lines"
exit "$status"
