#!/usr/bin/env bash
# Start-up pays only for what the first frame needs: the program links no network
# library, neither Qt's print module nor the printing system, nor libical; each comes
# with the part loaded when its feature is first used.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/build.sh zorivka >/dev/null
unwanted='libQt6Network|libQt6PrintSupport|libcups|libical'
if ldd build/zorivka | grep -E "$unwanted"; then
    echo "build/zorivka links the libraries above, which start-up does not need" >&2
    exit 1
fi
# Debian's Qt Core brings ICU with it; the program itself must not ask for it.
if readelf -d build/zorivka | grep NEEDED | grep libicu; then
    echo "build/zorivka links ICU itself" >&2
    exit 1
fi
ldd build/parts/libzorivka-print.so | grep -q libQt6PrintSupport
ldd build/parts/libzorivka-ical.so | grep -q libical
echo "start-up libraries: none of $unwanted in build/zorivka"
