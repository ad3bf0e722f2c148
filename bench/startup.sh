#!/usr/bin/env bash
# The whole-program benchmark: start to the window being mapped and peak resident
# memory (VmHWM once mapped) for a first run and for the largest table, against a
# reference list window, in alternating runs on one X server (Xvfb, openbox and a
# session bus); then the idle CPU over 60 s with the tray icon and status bar on
# and a tray (trayer) to hold the icon. Prints medians and ratios.
#   bench/startup.sh [runs=15] [idle seconds=60]
# ZORIVKA=<path of an executable> measures that build instead of build/zorivka;
# BEFORE=<path of another build> measures that one too, in the same alternation.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${1:-15}
idle=${2:-60}

bash scripts/deps.sh xvfb openbox trayer dbus-x11 libx11-dev
bash scripts/build.sh zorivka bench_reference_window bench_write_table bench_map_watch >/dev/null

work=$(mktemp -d)
trap 'kill $(jobs -p) 2>/dev/null || true; rm -rf "$work"' EXIT
mkdir -p "$work/first" "$work/largest" "$work/idle" "$work/runtime"
chmod 700 "$work/runtime"
# The program keeps its files beside the executable: one copy per directory.
for dir in first largest idle; do cp "${ZORIVKA:-build/zorivka}" "$work/$dir/zorivka"; done
build/bench_write_table "$work/largest" >/dev/null
kinds="reference first largest"
if [ -n "${BEFORE:-}" ]; then
    mkdir -p "$work/first-before" "$work/largest-before"
    cp "$BEFORE" "$work/first-before/zorivka"
    cp "$BEFORE" "$work/largest-before/zorivka"
    cp "$work"/largest/*.zrk "$work"/largest/*.ini "$work/largest-before/"
    kinds="$kinds first-before largest-before"
fi
build/bench_write_table "$work/idle" --tray >/dev/null
cp "$work"/largest/*.zrk "$work"/largest/*.ini "$work/" 2>/dev/null || true

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
for _ in $(seq 50); do [ -e "/tmp/.X11-unix/X${display#:}" ] && break; sleep 0.1; done
export DISPLAY=$display XDG_RUNTIME_DIR=$work/runtime QT_QPA_PLATFORM=xcb

# One session bus for everything, as on a desktop.
dbus-run-session -- bash -s "$work" "$runs" "$idle" "$PWD/build" "$kinds" <<'SESSION'
set -euo pipefail
work=$1 runs=$2 idle=$3 build=$4 kinds=$5
openbox >/dev/null 2>&1 &
trayer --edge bottom --align right --widthtype request --height 24 >/dev/null 2>&1 &
sleep 1
watch=$build/bench_map_watch

one() { # kind -> "ms kB"
    case $1 in
    reference) "$watch" Reference "$build/bench_reference_window" ;;
    first*) rm -f "$work/$1"/*.zrk "$work/$1"/*.ini "$work/$1"/zorivka.lock
        "$watch" Zorivka "$work/$1/zorivka" ;;
    largest*) rm -f "$work/$1/zorivka.lock"
        "$watch" Zorivka "$work/$1/zorivka" ;;
    esac
}
median() { sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }

# A warm-up of each (font caches, page cache), not counted.
for kind in $kinds; do one $kind >/dev/null; done
for i in $(seq "$runs"); do
    for kind in $kinds; do
        read -r ms kb cpu < <(one $kind) || { echo "run $i of $kind failed" >&2; continue; }
        echo "$ms" >>"$work/$kind.ms"
        echo "$kb" >>"$work/$kind.kb"
        echo "$cpu" >>"$work/$kind.cpu"
    done
done

ratio() { awk "BEGIN { printf \"%.2fx\", $1 / $2 }"; }
ref_ms=$(median <"$work/reference.ms") ref_kb=$(median <"$work/reference.kb") ref_cpu=$(median <"$work/reference.cpu")
data_kb=$(( $(stat -c %s "$work/largest/data.zrk") / 1024 ))
echo "Medians of $runs alternating runs: start to window mapped (wall clock, and CPU time"
echo "of the program's threads until then) and peak resident memory once mapped"
printf '%-24s %9s %7s %9s %7s %10s %10s\n' "" "wall ms" "ratio" "CPU ms" "ratio" "VmHWM kB" "above ref"
for kind in $kinds; do
    ms=$(median <"$work/$kind.ms") kb=$(median <"$work/$kind.kb") cpu=$(median <"$work/$kind.cpu")
    case $kind in
    reference) label="reference window" ;;
    first) label="Zorivka, first run" ;;
    largest) label="Zorivka, largest table" ;;
    first-before) label="before, first run" ;;
    largest-before) label="before, largest table" ;;
    esac
    printf '%-24s %9.1f %7s %9.1f %7s %10d %+10d\n' "$label" "$ms" "$(ratio "$ms" "$ref_ms")" "$cpu" \
        "$(ratio "$cpu" "$ref_cpu")" "$kb" $((kb - ref_kb))
    printf '%-24s %9s\n' "" "(wall $(sort -n "$work/$kind.ms" | head -1)..$(sort -n "$work/$kind.ms" | tail -1))"
done
first_kb=$(median <"$work/first.kb"); largest_kb=$(median <"$work/largest.kb")
echo "largest table adds $((largest_kb - first_kb)) kB over the first run; its data.zrk is $data_kb kB"
if [[ $kinds == *before* ]]; then
    before_first_kb=$(median <"$work/first-before.kb"); before_largest_kb=$(median <"$work/largest-before.kb")
    echo "before: largest table adds $((before_largest_kb - before_first_kb)) kB over the first run"
fi

if [ "$idle" -gt 0 ]; then
    rm -f "$work/idle/zorivka.lock"
    cpu=$("$watch" --idle "$idle" Zorivka "$work/idle/zorivka")
    echo "idle CPU over $idle s, largest table, tray icon and status bar on: $cpu % of one core"
fi
SESSION
