#!/usr/bin/env bash
# The interval and the threshold by real keys and clicks; the history question, also with the meter closed under it.
. "$(dirname "$0")/harness.sh"
move() { click interval; press "$@"; }  # the thumb moved by a click beside it and keys
printf '[Settings]\r\nRunHidden=0\r\nInterval=120\r\nAlertThreshold=3\r\nLogfile=1\r\n' >"$INI"
battery 5
start_meter
click threshold; focused=$(state apply); press End BackSpace 9 8 7 Up; limited=$(ctl text threshold); press Up
assert_eq "0 99 0" "$focused $limited $(ctl text threshold)" "the box focused: Apply still off; two digits at most; \
the arrows go up to 99, then round to 0"
press End BackSpace 5
assert_eq "120 1 120" "$(state interval) $(state apply) $(state tick)" "the stored interval; typing enables Apply; ticks a minute apart"
move Right; click apply
assert_eq "210 5 1 0 1" "$(ini Interval) $(ini AlertThreshold) $(state okfocus) $(state apply) $(state visible)$(
    ls "$HIST" 2>/dev/null)" "one sample: Apply writes the interval and threshold unasked, OK takes the focus, \
the window stays, no history file is made"
poll; boxes "$CAP" 5000 1
assert_eq "Warning: The battery level has reached the configured lower limit!" "$BOX" "the alert at 5 %"
click threshold; press End BackSpace 6; click apply; poll; boxes "$CAP" 5000 1
assert_eq 1 "$NBOX" "a new threshold re-arms the alert"
ctl post command save; move End Escape; boxes "$CAP" 5000 2
assert_eq "The battery level history can not be adjust|to the new scale and will be deleted.|210 210 5 5 0" \
    "$BOX|$(state interval) $(ini Interval) $(hist 2) $(state visible)" "older samples: a question; Cancel keeps all, OK hides"
sed -i '/^AlertThreshold=/d' "$INI"; ctl post tray 0x201; move Home Escape; boxes "$CAP" 5000 1; since=$SECONDS
assert_eq "60 5 255 0 |" "$(ini Interval) $(hist 2) $(state visible) $(ini AlertThreshold)|$(ini ShowDetails)" \
    "OK, by Esc: the interval taken, the history cut to the newest sample and saved, the window hidden; \
the unchanged threshold and details not written"
battery 3; wait_for 80 grep -q ', 3, OFFLINE' "$LOG" || fail "no poll within 80 s of the change to 60 s"
log "ok: the timer follows the new interval: a poll after $((SECONDS - since)) s"
ctl post tray 0x201; ctl settext threshold x; click ok
assert_eq "6 1" "$(ctl text threshold)$(ini AlertThreshold) $(state visible)" \
    "a text that is no number, and OK: the threshold kept and shown again, nothing written, the window kept"
click threshold; press End BackSpace BackSpace; click apply
assert_eq 255 "$(ini AlertThreshold)" "a cleared threshold box switches the alert off"
# Closed while the question is up: the meter ends once and writes nothing more.
battery 4; poll; click threshold; press 7; click apply; move End; click apply; boxes "$CAP" 5000
cp "$INI" "$SCRATCH/before.ini"; ctl post close
ctl box "$CAP" 0 1 >/dev/null 2>&1 || log "the question went with the window"
ended
assert_eq "1 0 1 4 3 5" "$NBOX $RC $(grep -c 'Ampwatch closed' "$LOG") $(hist 3)" "closed under the question: once, saved"
cmp "$INI" "$SCRATCH/before.ini" || fail "closed under the question, the meter still wrote settings"
