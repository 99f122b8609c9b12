#!/usr/bin/env bash
# The capacity report: F10, a right click on the graph and F1 on the graph,
# with figures worked out from the simulated battery's files.
. "$(dirname "$0")/harness.sh"

CAPTION="Battery Power"
report() { tr -d '\r' | tr '\n' '|' | sed 's/|$//'; }

printf '[Settings]\r\nRunHidden=0\r\n' >"$INI"
battery 40 Charging
mains 1
# 1234567 µAh at 10 V: 12345 mWh, shown rounded half away from zero.
echo 1234567 >"$POWER/BAT0/charge_now"
echo 1500000 >"$POWER/BAT0/current_now"
start_meter
sync_meter
press F10
text=$(ctl wait-box "$CAPTION" 10000) || fail "F10 showed no capacity report"
# This Wine gives the rate (1.5 A at 10 V) as negative even while charging;
# the report shows what the platform gives.
assert_eq "Maximum Capacity: 50.00 Wh|Remaining Capacity: 12.35 Wh|Critical Capacity: 0.00 Wh|Charging Rate: -15.00 W" \
    "$(printf '%s' "$text" | report)" "F10 report while charging"
ctl answer "$CAPTION" 1 >/dev/null || fail "cannot close the report"

battery 40 Discharging
mains 0
click_item 1001 3
text=$(ctl wait-box "$CAPTION" 10000) || fail "a right click on the graph showed no report"
assert_eq "Maximum Capacity: 50.00 Wh|Remaining Capacity: 20.00 Wh|Critical Capacity: 0.00 Wh|Charging Rate: -10.00 W" \
    "$(printf '%s' "$text" | report)" "report on the graph's context menu while discharging"
ctl answer "$CAPTION" 1 >/dev/null

# F1 with the focus on the graph: the report, not About.
click_item 1001
assert_eq 1001 "$(ctl focus)" "the graph has the focus"
press F1
ctl wait-box "$CAPTION" 10000 >/dev/null || fail "F1 on the graph showed no report"
assert_eq 0 "$(box_count)" "no About box behind the report"
ctl answer "$CAPTION" 1 >/dev/null

# A right click elsewhere does nothing.
click_item 1005 3
sleep 0.5
assert_eq 0 "$(ctl boxes "$CAPTION" | sed -n 's/^count=//p')" "right click on the threshold box: no report"
xdotool key --clearmodifiers Escape 2>/dev/null
close_meter

# German: the same figures with a point.
start_meter LC_ALL=de_DE.UTF-8
sync_meter
ctl post tray 0x201 >/dev/null
sync_meter
press F10
text=$(ctl wait-box "Batteriekapazität" 10000) || fail "no German report"
assert_contains "$(printf '%s' "$text" | report)" "Ladeleistung: -10.00 W" "German report keeps the point"
ctl answer "Batteriekapazität" 1 >/dev/null
close_meter

# Without a battery this Wine answers the query with zeros.
no_battery
start_meter
sync_meter
ctl post tray 0x201 >/dev/null
sync_meter
press F10
text=$(ctl wait-box "$CAPTION" 10000) || fail "no report without a battery"
assert_eq "Maximum Capacity: 0.00 Wh|Remaining Capacity: 0.00 Wh|Critical Capacity: 0.00 Wh|Charging Rate: 0.00 W" \
    "$(printf '%s' "$text" | report)" "report without a battery"
ctl answer "$CAPTION" 1 >/dev/null
close_meter

# Without the power management library the figures are unavailable: F10 and
# the context menu show nothing, F1 on the graph falls back to About.
battery 40
start_meter WINEDLLOVERRIDES="mscoree,mshtml=;powrprof="
sync_meter
ctl post tray 0x201 >/dev/null
sync_meter
press F10
click_item 1001 3
sleep 0.5
assert_eq 0 "$(ctl boxes "$CAPTION" | sed -n 's/^count=//p')" "no report without the library"
assert_eq 0 "$(box_count)" "and no other box"
click_item 1001
press F1
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "F1 on the graph without figures showed no About box"
assert_contains "$text" "1.9" "About instead of the report"
ctl answer "$E2E_CAPTION" 1 >/dev/null
close_meter
