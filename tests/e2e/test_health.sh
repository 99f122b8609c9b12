#!/usr/bin/env bash
# How the battery ages: a line a day in Ampwatch.csv, its trend in the capacity report. Wine has
# no battery device, so the design capacity and the cycles stay unknown (0).
. "$(dirname "$0")/harness.sh"
# The scenario's day must not change under it: a start just before midnight waits for the next.
left=$(($(date -d 'tomorrow 00:00' +%s) - $(date +%s))); [ "$left" -gt 180 ] || sleep $((left + 1))
CSV=$APP/Ampwatch.csv TODAY=$(date +%F) OLD=$(date -d '300 days ago' +%F)
REPORT="Maximum Capacity: 50.00 Wh|Remaining Capacity: 25.00 Wh|Critical Capacity: 0.00 Wh|Charging Rate: -10.00 W"
seed() { printf 'Date, FullChargeCapacity, DesignCapacity, CycleCount\r\n%s, 60000, 0, 0\r\n%s, 52345, 0, 0\r\n%s, 1, 0\r\nx\r\n%s, 51000, 0, 0\r\n' \
    "$(date -d '400 days ago' +%F)" "$OLD" "$(date -d '200 days ago' +%F)" "$(date -d '100 days ago' +%F)" >"$CSV"; }
report() { ctl post command 40004 && boxes "$1" 5000 1; }  # the capacity report (F10), read and closed
settings() { printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n%s' "${1:-}" >"$INI"; }
settings; seed; cp "$CSV" "$SCRATCH/seeded"; chmod a-w "$CSV"
start_meter; poll
report "Battery Power"
assert_eq "$REPORT|Maximum Capacity on $OLD: 52.35 Wh (-4.5 %)" "$BOX" \
    "the trend from the oldest line of the last year (the older and the damaged ones passed over)"
cmp -s "$CSV" "$SCRATCH/seeded" || fail "the read-only record was written"
close_meter
chmod u+w "$CSV"; start_meter LC_ALL=de_AT.UTF-8; poll 3
report "Batteriekapazität"
assert_eq "Maximalkapazität: 50.00 Wh|Restkapazität: 25.00 Wh|Mindestkapazität: 0.00 Wh|Ladeleistung: -10.00 W|\
Maximalkapazität am $OLD: 52.35 Wh (-4.5 %)" "$BOX" "the trend in German, with points"
close_meter
start_meter; poll 2
assert_eq "$(cat "$SCRATCH/seeded")"$'\n'"$TODAY, 50000, 0, 0"$'\r' "$(cat "$CSV")" "one line for today, not again after a restart"
rm "$CSV"; mkdir "$CSV"; report "Battery Power"
assert_eq "$REPORT" "$BOX" "a folder in the record's place: the report as ever"
close_meter
rmdir "$CSV"; settings "HealthLog=0"; seed
start_meter; poll
report "Battery Power"
assert_eq "$REPORT|$(cat "$SCRATCH/seeded")" "$BOX|$(cat "$CSV")" "HealthLog=0: no line, no trend"
close_meter
