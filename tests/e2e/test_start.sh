#!/usr/bin/env bash
# First and later starts, single instance, hiding to the tray and back.
. "$(dirname "$0")/harness.sh"

# First start without INI: the window shows and RunHidden=1 is written.
[ -f "$INI" ] && fail "stale INI"
start_meter
sync_meter
assert_eq 1 "$(state_of visible)" "first start shows the window"
wait_for 5 ini_value Settings RunHidden >/dev/null || fail "no RunHidden in $INI after the first start"
assert_eq 1 "$(ini_value Settings RunHidden)" "RunHidden after the first start"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "processes of the first start"
close_meter

# Later start: tray only.
start_meter
sync_meter
assert_eq 0 "$(state_of visible)" "second start keeps the window hidden"

# A second copy brings the hidden first one forward and ends with 0.
run_meter_foreground 30
assert_eq 0 "$RUN_RC" "exit code of the second copy"
assert_eq 1 "$(state_of visible)" "second copy shows the first one's window"
assert_eq 1 "$(state_of foreground)" "second copy brings the window to the foreground"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "processes after the second copy"
screenshot shown-by-second-copy >/dev/null

# Esc, typed into the window, hides it; the meter keeps running.
wid=$(xdotool search --onlyvisible --name "^$E2E_CAPTION\$" | head -n1)
[ -n "$wid" ] || fail "no X window for the main window"
xdotool windowfocus --sync "$wid" || fail "cannot focus the main window"
xdotool key --clearmodifiers Escape
wait_for 10 test "$(state_of visible)" = 0 || fail "Esc did not hide the window"
log "ok: Esc hides the window"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "processes after Esc"
assert_rc 0 "main window still exists after Esc" ctl wait-main 0

# Either mouse button on the tray icon brings it back.
ctl post tray 0x201 >/dev/null
sync_meter
assert_eq 1 "$(state_of visible)" "left click on the tray icon shows the window"
ctl post command 1 >/dev/null
sync_meter
assert_eq 0 "$(state_of visible)" "OK hides the window"
ctl post tray 0x204 >/dev/null
sync_meter
assert_eq 1 "$(state_of visible)" "right click on the tray icon shows the window"

# The end of the session saves but does not end the meter.
ctl post endsession >/dev/null
sync_meter
assert_eq 1 "$(ctl procs Ampwatch.exe)" "processes after the end of the session"
assert_eq 1 "$(state_of visible)" "window after the end of the session"

close_meter
