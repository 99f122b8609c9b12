#!/usr/bin/env bash
# A long run: many poll ticks with the battery changing all the time. Nothing
# may grow, and the history holds the last levels in order at the end.
. "$(dirname "$0")/harness.sh"

TICKS=${AMPWATCH_SOAK_TICKS:-20000}
HIST=$APP/Ampwatch.dat
BAT='Z:\sys\class\power_supply\BAT0' AC='Z:\sys\class\power_supply\AC'

printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n' >"$INI"
start_meter
sync_meter
ctl soak 200 "$BAT" "$AC" >/dev/null || fail "warm-up ticks"
# This test's own meter: other tests may run meters beside it.
pid=$METER_PID
grep -q Ampwatch.exe "/proc/$pid/cmdline" || fail "pid $pid is not the meter"
rss_before=$(awk '/VmRSS/ {print $2}' /proc/"$pid"/status)
gui_before=$(ctl gui)
# Four rounds of ticks; between rounds the battery is gone for a few polls.
ROUNDS=4 round_ticks=$((TICKS / 4))
[ "$round_ticks" -ge 256 ] || fail "too few ticks for the history check"
start=$SECONDS
for ((r = 1; r <= ROUNDS; r++)); do
    last=$(ctl soak "$round_ticks" "$BAT" "$AC") || fail "soak stopped in round $r"
    if [ "$r" -lt "$ROUNDS" ]; then
        no_battery
        for k in 1 2 3; do poll; done
        battery 50
    fi
done
secs=$((SECONDS - start))
rss_after=$(awk '/VmRSS/ {print $2}' /proc/"$pid"/status)
gui_after=$(ctl gui)
log "figures: $TICKS ticks in $secs s; resident $rss_before -> $rss_after KiB; $gui_before -> $gui_after"
[ "$rss_after" -le $((rss_before + 512)) ] || fail "resident memory grew from $rss_before to $rss_after KiB"
assert_eq "$gui_before" "$gui_after" "GDI and USER objects before and after"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "the meter still runs"

# The icon after the run is the one a fresh meter draws for the same battery.
# icon_now NAME: the meter's current icon, added afresh, as SCRATCH/NAME-icon.png.
icon_now() {
    local shot
    readd_tray_icon
    shot=$(screenshot "$1") || fail "no screenshot"
    convert "$shot" -crop 24x24+0+20 +repage "$SCRATCH/$1-icon.png"
}
icon_now soaked
close_meter
# The history holds the last 256 simulated levels, newest first: tick i of
# the control tool's last round sets level ((i / 5) * 37 + 11) % 101.
expected=$(for ((k = 0; k < 256; k++)); do i=$((round_ticks - 1 - k)); echo $(((i / 5 * 37 + 11) % 101)); done | tr '\n' ' ')
actual=$(od -An -tu1 -v "$HIST" | tr -s ' \n' '\n' | sed '/^$/d' | tr '\n' ' ')
assert_eq "$expected" "$actual" "the history holds the last 256 levels in order"
assert_eq "$last" "$(od -An -tu1 -N1 "$HIST" | tr -d ' ')" "newest sample is the last simulated level"

start_meter
sync_meter
icon_now fresh
differ=$(compare -metric AE "$SCRATCH/soaked-icon.png" "$SCRATCH/fresh-icon.png" null: 2>&1)
assert_eq 0 "$differ" "pixels of the soaked icon that differ from a fresh meter's for level $last"
close_meter
