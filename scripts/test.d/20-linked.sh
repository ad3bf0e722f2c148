#!/usr/bin/env bash
# Start-up pays only for what the first frame needs: the program itself links no
# library that only a later feature uses (those come with the parts loaded on demand).
set -euo pipefail
cd "$(dirname "$0")/../.."
unwanted='libQt6Network'
found=$(ldd build/zorivka | grep -E -o "($unwanted)[^ ]*" || true)
if [ -n "$found" ]; then
    echo "build/zorivka links what start-up does not need: $found" >&2
    exit 1
fi
echo "linked: none of $unwanted"
