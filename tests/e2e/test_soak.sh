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
pid=$(pgrep -f 'Ampwatch.exe' | head -n1)
rss_before=$(awk '/VmRSS/ {print $2}' /proc/"$pid"/status)
gui_before=$(ctl gui)
start=$SECONDS
last=$(ctl soak "$TICKS" "$BAT" "$AC") || fail "soak stopped"
secs=$((SECONDS - start))
rss_after=$(awk '/VmRSS/ {print $2}' /proc/"$pid"/status)
gui_after=$(ctl gui)
log "figures: $TICKS ticks in $secs s; resident $rss_before -> $rss_after KiB; $gui_before -> $gui_after"
[ "$rss_after" -le $((rss_before + 512)) ] || fail "resident memory grew from $rss_before to $rss_after KiB"
assert_eq "$gui_before" "$gui_after" "GDI and USER objects before and after"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "the meter still runs"
close_meter
# The history holds the last 256 simulated levels, newest first: tick i of
# the control tool sets level ((i / 5) * 37 + 11) % 101.
expected=$(for ((k = 0; k < 256; k++)); do i=$((TICKS - 1 - k)); echo $(((i / 5 * 37 + 11) % 101)); done | tr '\n' ' ')
actual=$(od -An -tu1 -v "$HIST" | tr -s ' \n' '\n' | sed '/^$/d' | tr '\n' ' ')
assert_eq "$expected" "$actual" "the history holds the last 256 levels in order"
assert_eq "$last" "$(od -An -tu1 -N1 "$HIST" | tr -d ' ')" "newest sample is the last simulated level"
