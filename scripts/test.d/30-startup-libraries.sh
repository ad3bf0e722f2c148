#!/usr/bin/env bash
# Start-up does not pay for printing: the program links neither Qt's print module nor
# the printing system; they come with the print part when "Tisk..." is first used.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/build.sh zorivka >/dev/null
if ldd build/zorivka | grep -E 'libQt6PrintSupport|libcups'; then
    echo "build/zorivka links the print libraries above" >&2
    exit 1
fi
ldd build/parts/libzorivka-print.so | grep -q libQt6PrintSupport
echo "start-up libraries: no libQt6PrintSupport or libcups in build/zorivka"
