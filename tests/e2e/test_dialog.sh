#!/usr/bin/env bash
# The shown window: the graph's pixels, keys and clicks, the capacity report from the
# system's power library (one planted beside the meter) and without it.
. "$(dirname "$0")/harness.sh"
REPORT="Maximum Capacity: 50.00 Wh|Remaining Capacity: 22.50 Wh|Critical Capacity: 0.00 Wh|Charging Rate: -10.00 W"
pixels() { local s=$1; shift; for p in "$@"; do convert "$s" -format "%[hex:p{$p}] " info:; done; }
scale() { convert "$(shot "$1")" -crop "24x12+$gx+$gy" txt:- | grep -c FFFF00; }  # the details' "100%"
{ printf '\x3c%.0s' {1..40}; printf '\xff%.0s' {1..216}; } >"$HIST"
printf '[Settings]\r\nRunHidden=0\r\nLogfile=1\r\n' >"$INI"
cp "$PLANTED" "$APP/PowrProf.dll" && battery 60
start_meter WINEDLLOVERRIDES="$WINEDLLOVERRIDES;powrprof=n,b"
read -r gx gy gw gh < <(ctl rect graph)
dx=$((gw / 10)) dy=$((gh / 4)) y=$((gy + 40 * gh / 100)) r=$((gx + gw))
# Fitted to its grid: lines at a tenth and a quarter, black between; 41 samples at 60 %
# two pixels apart from the right edge, then nothing; no details.
assert_eq "0 0 008000 008000 008000 000000 00FF00 00FF00 000000 0" "$(((gw - 1) % 10)) $(((gh - 1) % 4)) $(pixels \
    "$(shot graph)" $gx,$((gy + dy / 2)) $((gx + 5 * dx)),$((gy + dy / 2)) $((gx + dx / 2)),$((gy + 2 * dy)) \
    $((gx + dx / 2)),$((gy + dy / 2)) $((r - 3)),$y $((r - 70)),$y $((r - 90)),$y)$(scale plain)" "the graph"
press F4
[ "$(scale f4)" -gt 5 ] && press F4 && [ "$(scale f4-again)" = 0 ] || fail "F4 does not show and hide the details"
xdotool mousemove $((gx + gw / 4)) $((gy + gh - 3)) sleep 0.1 mousedown 1 sleep 0.3
[ "$(scale held)" -gt 5 ] || fail "no details while the graph is held"
xdotool mouseup 1 && ctl sync && [ "$(scale released)" -gt 5 ] || fail "the release's click did not keep the details"
assert_eq "" "$(ini ShowDetails)" "F4, holding and clicking the graph show the details; stored only at a save"
rm "$HIST"; battery 45; press F5 F2
assert_eq "60 60 60|45, OFFLINE, -" "$(hist 3)|$(tr -d '\r' <"$LOG" | tail -n1 | cut -d' ' -f3-)" \
    "F5 shows the new level without a sample, F2 saves"
poll; press ctrl+s
assert_eq "45 60 60 1" "$(hist 3) $(ini ShowDetails)" "Ctrl+S saves, with the changed details state"
click graph; ctl post endsession 1
assert_eq 0 "$(ini ShowDetails)" "a click on the graph, stored at the end of the session"
for how in "press F10" "click graph 3" "press F1"; do
    $how; boxes "Battery Power" 5000 1
    assert_eq "$REPORT" "$BOX" "$how, the graph focused: the simulated battery's report"
done
[ -e "$WINEPREFIX/drive_c/planted-ran" ] && fail "the library planted beside the meter ran"
close_meter
# Without the library neither F10 nor F1 on the graph reports: F1 falls back to About,
# once however often it is pressed.
start_meter WINEDLLOVERRIDES="mscoree,mshtml=;powrprof="
ctl post tray 0x201; press F10; click graph; press F1
xdotool key F1 && sleep 0.5 && boxes "Battery Power" && [ "$NBOX" = 0 ] || fail "a report without the library"
boxes "$CAP" 5000 1
assert_eq "1 Quenta Battery Meter 1.9" "$NBOX ${BOX%%|*}" "F1 on the graph without the library: About, once"
close_meter
