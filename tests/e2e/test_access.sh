#!/usr/bin/env bash
# Usable by everyone: the graph's name as a screen reader gets it, the two choices of the window menu,
# chosen with real keys, and what they write.
. "$(dirname "$0")/harness.sh"
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
run_value() { "$WINE" reg query "$RUN" /v Ampwatch 2>/dev/null </dev/null | tr -d '\r' | sed -n 's/^ *Ampwatch *REG_SZ *//p'; }
choose() { press alt+space "$@" Return; }  # choose KEYS: from the window menu's top, Up wraps to the last
HERE="\"Z:${APP//\//\\}\\Ampwatch.exe\""
assert_eq "Start with Windows|Unplug reminder at %u %%|Mit Windows starten|Netzteil-Erinnerung bei %u %%" \
    "$(strings 818 819)|$(strings 418 419)" "the window menu's choices in English and German"
printf '[Settings]\r\nRunHidden=0\r\n' >"$INI"
start_meter
assert_eq "2:30 h (50%) remaining" "$(ctl name graph)" "a screen reader names the graph as the tooltip reads"
battery 57; poll
assert_eq "2:51 h (57%) remaining" "$(ctl name graph)" "a new level renames it"
echo 2000000 >"$POWER/BAT0/current_now"; poll
assert_eq "1:25 h (57%) remaining" "$(ctl name graph)" "a new remaining time alone renames it"
choose Up Up
assert_eq "$HERE" "$(run_value)" "Start with Windows writes the quoted path"
choose Up Up
assert_eq "" "$(run_value)" "chosen again, it removes the value"
"$WINE" reg add "$RUN" /v Ampwatch /d '"C:\elsewhere\Ampwatch.exe"' /f >/dev/null 2>&1 </dev/null
choose Up Up
assert_eq "$HERE" "$(run_value)" "a copy elsewhere named: chosen, the path is this one's"
choose Up
assert_eq 80 "$(ini UnplugThreshold)" "the unplug reminder switched on at 80 %"
choose Up
assert_eq 255 "$(ini UnplugThreshold)" "and off again"
assert_eq 1 "$(state visible)" "the window menu's own items left alone"
close_meter
