#!/usr/bin/env bash
# The poll interval trackbar, moved with real keys, and the history question.
. "$(dirname "$0")/harness.sh"

TRACK=1002 APPLY=1003
HIST=$APP/Ampwatch.dat
RESCALE="The battery level history can not be adjust
to the new scale and will be deleted."
first_bytes() { od -An -tu1 -v -N "$1" "$HIST" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

printf '[Settings]\r\nInterval=120\r\n' >"$INI"
battery 50
start_meter
sync_meter
assert_eq 120 "$(ctl trackpos)" "thumb at the stored interval"

# One recorded sample: a change asks nothing and is written.
click_item $TRACK
press Right
assert_eq 1 "$(ctl enabled $APPLY)" "moving the thumb enables Apply"
press Return
assert_eq 0 "$(box_count)" "no question with one recorded sample"
assert_eq "$(ctl trackpos)" "$(ini_value Settings Interval)" "interval written at once"
printf '[Settings]\r\nInterval=120\r\nRunHidden=1\r\n' >"$INI"
close_meter
rm -f "$HIST"

start_meter
sync_meter
ctl post tray 0x201 >/dev/null
sync_meter
battery 49
poll
battery 48
poll
# Moved and back before OK: nothing asked, nothing written.
click_item $TRACK
assert_eq 180 "$(ctl trackpos)" "a click beside the thumb moves it a page"
press Left Right Left Left
assert_eq 120 "$(ctl trackpos)" "thumb back at the old interval"
press Return
assert_eq 0 "$(box_count)" "no question when the interval did not change"
assert_eq 120 "$(ini_value Settings Interval)" "interval after moving there and back"

# Moved with three samples recorded: the question; Cancel puts the thumb back.
ctl post tray 0x201 >/dev/null
sync_meter
click_item $TRACK
press Left
assert_eq 150 "$(ctl trackpos)" "thumb after a page and a step back"
xdotool key --clearmodifiers Escape
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "no history question"
assert_eq "$RESCALE" "$(printf '%s' "$text" | tr -d '\r')" "history question"
assert_rc 0 "Cancel the question" ctl answer "$E2E_CAPTION" 2
sync_meter
assert_eq 120 "$(ctl trackpos)" "Cancel puts the thumb back"
assert_eq 0 "$(state_of visible)" "the window still hides after OK"
assert_eq 120 "$(ini_value Settings Interval)" "Cancel keeps the interval"
ctl post command 40002 >/dev/null
sync_meter
assert_eq "48 49 50" "$(first_bytes 3)" "Cancel keeps the history"

# OK on the question: only the newest sample stays, Interval is written.
ctl post tray 0x201 >/dev/null
sync_meter
click_item $TRACK
press End
assert_eq 360 "$(ctl trackpos)" "thumb at the end"
click_item $APPLY
ctl wait-box "$E2E_CAPTION" 10000 >/dev/null || fail "no history question on Apply"
assert_rc 0 "OK the question" ctl answer "$E2E_CAPTION" 1
sync_meter
assert_eq 360 "$(ini_value Settings Interval)" "interval written after OK"
assert_eq "48 255 255" "$(first_bytes 3)" "only the newest sample is kept, and saved at once"
assert_eq 1 "$(state_of visible)" "Apply keeps the window shown"
battery 47
poll
close_meter
assert_eq "47 48 255" "$(first_bytes 3)" "polls go on after the change"
