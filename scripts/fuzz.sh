#!/usr/bin/env bash
# Runs the fuzz targets built by the sanitized preset (build-sanitize/).
#   scripts/fuzz.sh replay              every seed input once
#   scripts/fuzz.sh smoke               a fixed, repeatable run of each target
#   scripts/fuzz.sh long TARGET [SECS]  one target for as long as you like (default
#                                       an hour); new inputs go to fuzz/found/TARGET
set -euo pipefail
cd "$(dirname "$0")/.."
targets=(data_file profile_file settings overview ical)
# Inputs per target in the smoke run: about 20 seconds each on a 2-core machine.
declare -A smoke_runs=([data_file]=100000 [profile_file]=20000 [settings]=4000 [overview]=40000 [ical]=4000)
bin=build-sanitize
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1}

case "${1:-smoke}" in
replay)
    for t in "${targets[@]}"; do
        "$bin/fuzz_$t" fuzz/corpus/"$t"/* >/dev/null 2>&1
        echo "fuzz_$t: $(ls fuzz/corpus/"$t" | wc -l) seed inputs replayed"
    done
    ;;
smoke)
    for t in "${targets[@]}"; do
        work=$(mktemp -d)
        start=$(date +%s)
        # The seed corpus is only read; what the run finds goes to a scratch directory.
        "$bin/fuzz_$t" -seed=1 -runs="${smoke_runs[$t]}" -max_len=4096 "$work" fuzz/corpus/"$t" 2>&1 | tail -n 1
        echo "fuzz_$t: ${smoke_runs[$t]} inputs in $(($(date +%s) - start)) s"
        rm -rf "$work"
    done
    ;;
long)
    t=${2:?which target: ${targets[*]}}
    mkdir -p fuzz/found/"$t"
    "$bin/fuzz_$t" -max_total_time="${3:-3600}" -max_len=4096 -artifact_prefix=fuzz/found/"$t"/ \
        fuzz/found/"$t" fuzz/corpus/"$t"
    ;;
*)
    echo "usage: $0 replay | smoke | long TARGET [SECONDS]" >&2
    exit 2
    ;;
esac
