#!/usr/bin/env bash
# The accelerator keys, the graph click, help and the tray's mouse messages.
. "$(dirname "$0")/harness.sh"

HIST=$APP/Ampwatch.dat LOG=$APP/Ampwatch.txt
first_bytes() { od -An -tu1 -v -N "$1" "$HIST" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }

printf '[Settings]\r\nRunHidden=0\r\nIconColor=16711680\r\n' >"$INI"
battery 50
start_meter
sync_meter

# Ctrl+S and F2 save the whole history.
[ -e "$HIST" ] && fail "a history file before any save"
press ctrl+s
[ -f "$HIST" ] || fail "Ctrl+S wrote no history file"
assert_eq 256 "$(stat -c %s "$HIST")" "size after Ctrl+S"
assert_eq "50 255" "$(first_bytes 2)" "history after Ctrl+S"
battery 45
poll
press F2
assert_eq "45 50 255" "$(first_bytes 3)" "history after F2"

# F5 refreshes without recording a sample.
battery 40
press F5
press F2
assert_eq "45 50 255" "$(first_bytes 3)" "F5 records no sample"

# F4 and a click on the graph toggle the details; only a save point writes
# ShowDetails, and only when it differs from the stored value.
press F4
[ -z "$(ini_value Settings ShowDetails)" ] || fail "F4 wrote ShowDetails at once"
press ctrl+s
assert_eq 1 "$(ini_value Settings ShowDetails)" "ShowDetails after F4 and Ctrl+S"
click_item 1001
click_item 1001
cp "$INI" "$SCRATCH/before.ini"
press F2
cmp -s "$INI" "$SCRATCH/before.ini" || fail "a save with unchanged details wrote the settings"
log "ok: two graph clicks and a save write nothing"
click_item 1001
ctl post endsession >/dev/null
sync_meter
assert_eq 0 "$(ini_value Settings ShowDetails)" "the end of the session stores the details state"

# F1 away from the graph opens the About box once, however often it is pressed.
click_item 1005
press F1
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "F1 opened no box"
assert_contains "$text" "1.9" "About names the version"
assert_eq 4 "$(printf '%s\n' "$text" | tr -d '\r' | grep -c .)" "About has four lines"
wid=$(main_xwindow)
xdotool key --clearmodifiers F1
sleep 0.5
assert_eq 1 "$(box_count)" "F1 again opens nothing more"
ctl answer "$E2E_CAPTION" 1 >/dev/null || fail "cannot close the About box"

# F3 without an event log does nothing; with one it opens it and hides.
press F3
assert_eq 1 "$(state_of visible)" "F3 without a log keeps the window"
printf 'log\r\n' >"$LOG"
# This prefix knows no handler for .txt files: the open fails silently.
press F3
sleep 0.5
assert_eq 1 "$(state_of visible)" "F3 without a handler keeps the window"
assert_eq 0 "$(box_count)" "a failed open shows no box"
"$WINE" reg add 'HKCR\.txt' /ve /d txtfile /f >/dev/null 2>&1 </dev/null
"$WINE" reg add 'HKCR\txtfile\shell\open\command' /ve /d 'notepad.exe "%1"' /f >/dev/null 2>&1 </dev/null
press F3
wait_for 10 test "$(state_of visible)" = 0 || fail "F3 with a log did not hide the window"
log "ok: F3 opens the log and hides"
assert_eq 0 "$(box_count)" "no box after opening the log"

# Mouse movement over the tray icon only refreshes; either button shows.
battery 35
ctl post tray 0x200 >/dev/null
sync_meter
assert_eq 0 "$(state_of visible)" "mouse movement keeps the window hidden"
ctl post tray 0x202 >/dev/null
ctl post tray 0x203 >/dev/null
sync_meter
assert_eq 0 "$(state_of visible)" "button releases and double clicks do nothing"
ctl post tray 0x204 >/dev/null
sync_meter
assert_eq 1 "$(state_of visible)" "right button shows the window"
assert_eq 1 "$(state_of foreground)" "and brings it to the front"
press F2
assert_eq "45 50 255" "$(first_bytes 3)" "hovering records no sample"

# The colour chooser: Cancel changes nothing, OK writes the colour in decimal.
sed -i 's/^IconColor=.*/IconColor=255\r/' "$INI"
cp "$INI" "$SCRATCH/before.ini"
click_item 1004
ctl wait-box Color 10000 >/dev/null || fail "Icon... opened no colour chooser"
assert_rc 0 "Cancel the colour chooser" ctl answer Color 2
sync_meter
cmp -s "$INI" "$SCRATCH/before.ini" || fail "a cancelled colour chooser wrote the settings"
click_item 1004
ctl wait-box Color 10000 >/dev/null || fail "Icon... opened no colour chooser the second time"
assert_rc 0 "OK in the colour chooser" ctl answer Color 1
sync_meter
assert_eq 16711680 "$(ini_value Settings IconColor)" "IconColor written as decimal text"

# The caption's close button ends the meter and saves the history.
battery 30
poll
read -r x y w h < <(ctl rect 0)
xdotool mousemove $((x + w - 12)) $((y + 12)) sleep 0.1 click 1
wait_meter_exit 20
assert_eq 0 "$METER_RC" "exit code after the close button"
assert_eq "30 45 50" "$(first_bytes 3)" "history written at close"
