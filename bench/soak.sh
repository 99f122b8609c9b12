#!/usr/bin/env bash
# A bounded soak: AMPWATCH_SOAK_TICKS polls (2000 unless asked for more) while the battery
# comes, goes and changes all the time. The memory stays; the history then holds the last
# levels in order, and the icon is a fresh meter's.
. "$(dirname "$0")/../tests/e2e/harness.sh"
rss() { awk '/VmRSS/ {print $2}' "/proc/$PID/status"; }
icon() { readd_tray; convert "$(shot "$1")" -crop 16x16+5+25 "$SCRATCH/$1.png"; }
printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n' >"$INI"
start_meter
ctl poll 200 && before=$(rss) || fail "warm-up"
(while :; do for l in 3 47 98; do battery $l Charging; mains 1; sleep 0.01; no_battery; sleep 0.01
    battery $l; mains 0; sleep 0.01; done; done) & churn=$!
ctl poll "${AMPWATCH_SOAK_TICKS:-2000}" || fail "the soak stopped"
kill $churn; wait $churn || :  # ended by the signal
[ "$(rss)" -le $((before + 512)) ] || fail "the resident memory grew from $before to $(rss) KiB"
for l in $(seq 0 4 100); do battery "$l" && ctl poll 10 || fail "poll"; done
icon soaked
close_meter
assert_eq "$(for l in $(seq 100 -4 0); do printf "$l %.0s" {1..10}; done | cut -d' ' -f1-256)" "$(hist 256)" \
    "the history holds the last 256 levels in order"
start_meter
icon fresh
assert_eq 0 "$(compare -metric AE "$SCRATCH/soaked.png" "$SCRATCH/fresh.png" null: 2>&1)" \
    "pixels of the soaked icon that differ from a fresh meter's"
close_meter
