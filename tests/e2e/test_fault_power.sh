#!/usr/bin/env bash
# Power going strange under the meter: the battery vanishing and coming back,
# suspend and resume, the end of a session that does or does not happen.
. "$(dirname "$0")/harness.sh"

HIST=$APP/Ampwatch.dat
first_bytes() { od -An -tu1 -v -N "$1" "$HIST" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
battery 60
start_meter
sync_meter
no_battery
poll
poll
battery 58
poll
ctl post command 40002 >/dev/null
sync_meter
assert_eq "58 255 255 60" "$(first_bytes 4)" "gaps while the battery is gone, levels again after"

# Suspend, resume and status broadcasts: each runs a cycle without a sample.
for code in 4 6 7 9 10 18 32787; do
    ctl post power $code >/dev/null || fail "cannot post power event $code"
done
sync_meter
assert_eq 1 "$(ctl procs Ampwatch.exe)" "the meter runs after the power broadcasts"
battery 5
ctl post power 7 >/dev/null
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "no alert on resume at 5 %"
ctl answer "$E2E_CAPTION" 1 >/dev/null
ctl post command 40002 >/dev/null
sync_meter
assert_eq "58 255 255 60" "$(first_bytes 4)" "power broadcasts record no samples"

# The end of a session that is called off saves nothing; a real one saves.
battery 57
poll
ctl post endsession 0 >/dev/null
sync_meter
assert_eq "58 255 255 60" "$(first_bytes 4)" "a called-off session end saves nothing"
ctl post endsession 1 >/dev/null
sync_meter
assert_eq "57 58 255 255" "$(first_bytes 4)" "a real session end saves"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "the meter runs on after the end of the session"
close_meter
