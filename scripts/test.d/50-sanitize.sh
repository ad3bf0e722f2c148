#!/usr/bin/env bash
# The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer
# (one clang build, CMakePresets.json "sanitize", into build-sanitize/), then
# the fuzz targets: every seed input once and a fixed, repeatable run of each.
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh clang libclang-rt-14-dev
launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
start=$(date +%s)
cmake --preset sanitize "${launcher[@]}" >/dev/null
cmake --build --preset sanitize
echo "sanitized build: $(($(date +%s) - start)) s"
start=$(date +%s)
export ASAN_OPTIONS=detect_leaks=1
export UBSAN_OPTIONS=print_stacktrace=1
export LSAN_OPTIONS=suppressions=$PWD/fuzz/lsan.supp
(cd build-sanitize && QT_QPA_PLATFORM=offscreen ctest --output-on-failure -j2)
echo "sanitized tests: $(($(date +%s) - start)) s"
start=$(date +%s)
bash scripts/fuzz.sh replay
bash scripts/fuzz.sh smoke
echo "fuzzing: $(($(date +%s) - start)) s"
