#!/usr/bin/env bash
# The shown window: the graph's pixels, keys and clicks, the capacity report from the
# system's power library (one planted beside the meter) and without it.
. "$(dirname "$0")/harness.sh"
REPORT="Maximum Capacity: 50.00 Wh|Remaining Capacity: 22.50 Wh|Critical Capacity: 0.00 Wh|Charging Rate: -10.00 W"
handlers() {  # handlers EXT...: Notepad opens these files (the prefix has no handler of its own)
    for e in "$@"; do "$WINE" reg add "HKCR\\.$e" /ve /d "${e}file" /f && "$WINE" reg add \
        "HKCR\\${e}file\\shell\\open\\command" /ve /d 'notepad.exe "%1"' /f || fail "no handler for .$e"; done >/dev/null 2>&1 </dev/null
}
opened() { wait_for 10 xdotool search --onlyvisible --name "^$1 - Notepad\$" >/dev/null || fail "no Notepad with $1"; }
pixels() { local s=$1; shift; for p in "$@"; do convert "$s" -format "%[hex:p{$p}] " info:; done; }
scale() { convert "$(shot "$1")" -crop "24x12+$gx+$gy" txt:- | grep -c FFFF00 || :; }  # the details' "100%"
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
press F4; shown=$(scale f4); press F4
assert_eq "1 0" "$((shown > 5)) $(scale f4-again)" "F4 shows and hides the details"
xdotool mousemove $((gx + gw / 4)) $((gy + gh - 3)) sleep 0.1 mousedown 1 sleep 0.3; held=$(scale held)
xdotool mouseup 1; ctl sync
assert_eq "1 1" "$((held > 5)) $(($(scale released) > 5))" "details while the graph is held, kept by the release's click"
assert_eq "" "$(ini ShowDetails)" "F4, holding and clicking the graph show the details; stored only at a save"
rm "$HIST"; battery 45; press F5 F2
assert_eq "60 60 60|45, OFFLINE, -" "$(hist 3)|$(tr -d '\r' <"$LOG" | tail -n1 | cut -d' ' -f3-)" \
    "F5 shows the new level without a sample, F2 saves"
convert "$(shot before)" -crop "${gw}x$gh+$gx+$gy" "$SCRATCH/before.png"; poll
[ "$(convert "$(shot after)" -crop "${gw}x$gh+$gx+$gy" miff:- | compare -metric AE - "$SCRATCH/before.png" null: 2>&1)" \
    -gt 0 ] || fail "a poll did not repaint the shown graph"
ctl post power 10; ctl post refresh; press ctrl+s
assert_eq "45 60 60 1" "$(hist 3) $(ini ShowDetails)" \
    "Ctrl+S saves, with the changed details state; a power broadcast and a refresh add no sample"
click graph; ctl post endsession 1
assert_eq 0 "$(ini ShowDetails)" "a click on the graph, stored at the end of the session"
for how in "press F10" "click graph 3" "press F1"; do
    $how; boxes "Battery Power" 5000 1
    assert_eq "$REPORT" "$BOX" "$how, the graph focused: the simulated battery's report"
done
[ -e "$WINEPREFIX/drive_c/planted-ran" ] && fail "the library planted beside the meter ran"
press F3 F6
assert_eq 1 "$(state visible)" "no handler for the log and no power options applet: F3 and F6 keep the window"
handlers txt cpl; press F3; opened Ampwatch.txt
assert_eq 0 "$(state visible)" "F3: the event log in the editor, the window hidden"
for d in system32 syswow64; do : >"$WINEPREFIX/drive_c/windows/$d/PowerCfg.cpl"; done
ctl post tray 0x201; press F6; opened PowerCfg.cpl
assert_eq 0 "$(state visible)" "F6: the system's power options applet, the window hidden"
close_meter
# Without the library no report: F1 falls back to About, once however often it is pressed.
rm "$LOG"; mkdir "$LOG"; start_meter WINEDLLOVERRIDES="mscoree,mshtml=;powrprof="
ctl post tray 0x201; press F3; assert_eq 1 "$(state visible)" "a folder in the log's place: F3 opens nothing"
press F10; click graph; press F1
xdotool key F1; sleep 0.5; boxes "Battery Power"; assert_eq 0 "$NBOX" "no report without the library"
boxes "$CAP" 5000 1
assert_eq "1 Quenta Battery Meter 1.9" "$NBOX ${BOX%%|*}" "F1 on the graph without the library: About, once"
press F1; boxes "$CAP" 5000 1; assert_eq 1 "$NBOX" "F1 after the box closed: About again"; close_meter
