#!/usr/bin/env bash
# For a German user: the event log's lines, the alert once per fall, power broadcasts, the German window and report.
. "$(dirname "$0")/harness.sh"
lines() { tr -d '\r' <"$LOG" | cut -d' ' -f3- | tail -n "$1" | paste -sd'|'; }
alert() {  # alert WHAT: one alert, also after a poll
    boxes "$CAP" 5000 && poll && boxes "$CAP" 0 1
    assert_eq "1 Warnung: Der Batteriestand hat den festgelegten Mindestwert erreicht!" "$NBOX $BOX" "$1"
}
printf '[Settings]\r\nRunHidden=1\r\nLogfile=1\r\n' >"$INI"
battery 10
start_meter LC_ALL=de_AT.UTF-8
assert_eq "BatteryLifePercent, ACLineStatus, BatteryFlag|Ampwatch started|10, OFFLINE, LOW" "$(lines 9)" \
    "the header, the start and the first status"
echo 2000000 >"$POWER/BAT0/current_now"; poll; battery 9; poll
alert "at 9 %: the alert, in German"
assert_eq "1 &OK &Anwenden &Symbol..." "$(state visible) $(ctl text ok) $(ctl text apply) $(ctl text icon)" \
    "the alert showed the window, with German buttons"
battery 12; poll; battery 9; poll
boxes "$CAP"
assert_eq 0 "$NBOX" "no alert again at 12 %, nor back at 9 %"
# Another box of the meter holds nothing back; sent as Windows sends it, the status broadcast is
# answered at once, and the alert comes after.
press F10; battery 13; poll; battery 8
answer=$(ctl send-power 10) || fail "the status broadcast, sent, was not answered"; log "$answer"
alert "the capacity report open, after 13 %, the status broadcast at 8 %: the alert again"
during=$(state enabled); boxes "Batteriekapazität" 0 1
assert_eq "0|Maximalkapazität: 50.00 Wh|Restkapazität: 4.50 Wh|Mindestkapazität: 0.00 Wh|Ladeleistung: -10.00 W|1" \
    "$during|$BOX|$(state enabled)" "the German capacity report still open over the window, then the window usable"
assert_eq "9, OFFLINE, LOW|12, OFFLINE, LOW|9, OFFLINE, LOW|13, OFFLINE, LOW|8, OFFLINE, LOW" "$(lines 5)" \
    "a line for each change of the level, none for the remaining time alone"
mains 1; battery 9 Charging; ctl post refresh
for code in 4 7 10; do ctl post power $code; done; battery 10 Charging; ctl post power 18
assert_eq "9, ONLINE, LOW|CHARGING|System is suspending operation|Operation resuming after suspension|\
Operation resuming automatically after event|10, ONLINE, LOW|CHARGING" "$(lines 5)" \
    "mains and charging, suspend and resume; a wake without the user refreshes after its line"
rm "$LOG"; battery 70; poll; battery 71; ctl post tray 0x200
assert_eq "BatteryLifePercent, ACLineStatus, BatteryFlag|70, ONLINE, HIGH|71, ONLINE, HIGH" "$(lines 9)" \
    "a deleted log comes back; the mouse over the icon refreshes it"
ctl post endsession 1
close_meter
assert_eq "Windows session is ending|Ampwatch closed|$(wc -l <"$LOG")" "$(lines 2)|$(grep -c $'\r$' "$LOG")" \
    "the end of the session and the close, every line ending in CR LF"
