#!/usr/bin/env bash
# Configures and builds into build/ (the program ends up at build/zorivka): every
# default target, or only the targets named as arguments.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh
launcher=()
# A compiler cache, when the machine has one, makes rebuilds of unchanged files free.
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
if [ $# -gt 0 ]; then
    cmake --build build -j2 --target "$@"
else
    cmake --build build -j2
fi
