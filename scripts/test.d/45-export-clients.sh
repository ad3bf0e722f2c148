#!/usr/bin/env bash
# The export as other programs read it: the iCalendar export of the largest table
# through standard output, validated strictly by python3-vobject, with a SUMMARY on
# every event, and imported whole by calcurse (which crashed on events without one).
set -euo pipefail
cd "$(dirname "$0")/../.."
bash scripts/deps.sh python3-vobject calcurse
bash scripts/build.sh zorivka bench_write_table >/dev/null
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
# The program with its parts beside it, as built: iCalendar is written by a part.
cp build/zorivka "$work/"
cp -r build/parts "$work/"
build/bench_write_table "$work" >/dev/null
"$work/zorivka" --export-ics - >"$work/all.ics"
/usr/bin/python3 - "$work/all.ics" <<'PYTHON'
import sys
import vobject

with open(sys.argv[1], encoding="utf-8") as text:
    calendar = vobject.readOne(text, validate=True)
events = calendar.contents.get("vevent", [])
untitled = [event.uid.value for event in events if not event.contents.get("summary")]
if not events or untitled:
    sys.exit(f"{len(events)} events, {len(untitled)} without SUMMARY, e.g. {untitled[:3]}")
fallback = sum(1 for event in events if "x-zorivka-summary" in event.contents)
print(f"vobject (strict): {len(events)} events, each with a SUMMARY ({fallback} made up and marked)")
PYTHON
mkdir -p "$work/calcurse/data" "$work/calcurse/config"
calcurse -D "$work/calcurse/data" -C "$work/calcurse/config" -i "$work/all.ics" >"$work/calcurse.log" 2>&1 \
    || { cat "$work/calcurse.log" >&2; exit 1; }
grep -q " / 0 skipped" "$work/calcurse.log" || { cat "$work/calcurse.log" >&2; exit 1; }
echo "calcurse: $(grep -o '[0-9]* apps / [0-9]* events / [0-9]* todos / [0-9]* skipped' "$work/calcurse.log")"
