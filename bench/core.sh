#!/usr/bin/env bash
# The core operations on the largest table beside their floors, with ratios.
#   bench/core.sh [Google Benchmark options, e.g. --benchmark_repetitions=5]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/deps.sh libbenchmark-dev
bash scripts/build.sh bench_core >/dev/null
cd build && ./bench_core "$@"
