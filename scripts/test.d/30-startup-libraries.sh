#!/usr/bin/env bash
# Start-up pays only for what the first frame needs: the program links no network
# library, neither Qt's print module nor the printing system; each comes with the part
# loaded when its feature is first used.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/build.sh zorivka >/dev/null
unwanted='libQt6Network|libQt6PrintSupport|libcups'
if ldd build/zorivka | grep -E "$unwanted"; then
    echo "build/zorivka links the libraries above, which start-up does not need" >&2
    exit 1
fi
ldd build/parts/libzorivka-print.so | grep -q libQt6PrintSupport
echo "start-up libraries: none of $unwanted in build/zorivka"
