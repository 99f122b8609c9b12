#!/usr/bin/env bash
# The threshold box, typed into with real keys: Apply, OK, Esc and what each
# writes to the settings file.
. "$(dirname "$0")/harness.sh"

APPLY=1003 EDIT=1005

# ini_changes BEFORE: the lines of the INI that differ from the copy BEFORE.
ini_changes() { diff <(tr -d '\r' <"$1") <(tr -d '\r' <"$INI") | sed -n 's/^> //p' | tr '\n' ' ' | sed 's/ $//'; }

printf '[Settings]\r\nAlertThreshold=3\r\n' >"$INI"
battery 5 Discharging
start_meter
sync_meter
assert_eq 0 "$(box_count)" "5 % with threshold 3: no alert"
assert_eq 3 "$(ctl text $EDIT)" "the box shows the stored threshold"
assert_eq 0 "$(ctl enabled $APPLY)" "Apply disabled at start"
wait_for 5 ini_value Settings RunHidden >/dev/null || fail "no RunHidden written"

cp "$INI" "$SCRATCH/before.ini"
click_item $EDIT
press End BackSpace 5
assert_eq 5 "$(ctl text $EDIT)" "typed threshold"
assert_eq 1 "$(ctl enabled $APPLY)" "typing enables Apply"
click_item $APPLY
assert_eq 0 "$(ctl enabled $APPLY)" "Apply disables itself"
assert_eq 1 "$(ctl focus)" "the focus moves from Apply to OK"
assert_eq "AlertThreshold=5" "$(ini_changes "$SCRATCH/before.ini")" "Apply writes only the threshold"
poll
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "the re-armed alert did not come at 5 %"
assert_contains "$text" "lower limit" "alert after the threshold was raised to the level"
ctl answer "$E2E_CAPTION" 1 >/dev/null || fail "cannot answer the alert"

cp "$INI" "$SCRATCH/before.ini"
press Return
assert_eq 0 "$(state_of visible)" "OK (Enter) hides the window"
cmp -s "$INI" "$SCRATCH/before.ini" || fail "OK without a change wrote to the settings"
log "ok: OK without a change writes nothing"

# Esc applies a pending change: cleared box means off, written as 255.
ctl post tray 0x201 >/dev/null
sync_meter
click_item $EDIT
press End BackSpace BackSpace
assert_eq "" "$(ctl text $EDIT)" "cleared threshold box"
press Escape
assert_eq 0 "$(state_of visible)" "Esc hides the window"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "Esc keeps the meter running"
assert_eq "AlertThreshold=255" "$(ini_changes "$SCRATCH/before.ini")" "Esc applied the cleared box as off"
battery 1
poll
assert_eq 0 "$(box_count)" "no alert while the alert is off"
close_meter

# Off at start: the box is empty and OK writes nothing.
printf '[Settings]\r\nAlertThreshold=255\r\n' >"$INI"
start_meter
sync_meter
assert_eq "" "$(ctl text $EDIT)" "threshold box with the alert off"
cp "$INI" "$SCRATCH/before.ini"
press Return
cmp -s "$INI" "$SCRATCH/before.ini" || fail "OK with the alert off wrote to the settings"
log "ok: OK with the alert off writes nothing"
close_meter

# A hand-edited 355 keeps its low byte.
printf '[Settings]\r\nAlertThreshold=355\r\n' >"$INI"
battery 50
start_meter
sync_meter
assert_eq 99 "$(ctl text $EDIT)" "AlertThreshold=355 opens as"
close_meter
