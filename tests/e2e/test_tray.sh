#!/usr/bin/env bash
# The tray icon as Wine's tray window shows it: the fill by level and state, digits that follow the
# taskbar until a colour is chosen, the icon added again for a restarted area or before hiding.
. "$(dirname "$0")/harness.sh"
W='#FFFFFF' K='#000000' G='#00FF00' Y='#FFFF00' R='#FF0000' B='#0000FF'
theme() { "$WINE" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
    /v SystemUsesLightTheme /t REG_DWORD /d "$1" /f >/dev/null 2>&1 </dev/null; }
icon_is() {  # icon_is FILL DIGITS WHAT: the icon's fill colour (none: no fill) and digits, over what
    local c n fill=0 other=0 digits=0 was=0  # is left of the picture before (Wine paints over it)
    while read -r n c; do case $c in "$2") digits=$n ;; "$1") fill=$n ;; "$W" | "$K") was=$n ;;
        "$G" | "$Y" | "$R" | "$B") other=$((other + n)) ;; esac
    done < <(convert "$(shot "$3")" -crop 16x16+5+25 -depth 8 txt:- | grep -o '#[0-9A-F]\{6\}' | sort | uniq -c)
    [ "$digits" -ge 20 ] && [ "$digits" -gt "$was" ] && [ "$other" = 0 ] && { [ "$1" = none ] || [ "$fill" -ge 10 ]; } ||
        fail "$3: $digits pixels of $2 ($was of the other digits), $fill of $1, $other of other fills"
    log "ok: $3"
}
printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=5\r\n' >"$INI"
no_battery
start_meter WINEDEBUG=trace+systray
tray_up; icon_is none $K "no battery, a taskbar that tells no theme: the button text colour, no fill"
theme 0; ctl post setting ImmersiveColorSet; icon_is none $W "a dark taskbar: a white question mark"
modified() { grep -c 'dwMessage = 1' "$SCRATCH/meter.1.out"; }  # the icon's NIM_MODIFY requests so far
before=$(modified); for bpp in 16 16 0 24; do ctl post display $bpp; done
assert_eq $((before + 2)) "$(modified)" "a new colour depth rebuilds the picture; the same or an unknown one does not"
battery 50; poll; icon_is $G $W "50 %: green"
battery 7; poll; icon_is $R $W "7 %, critical: red"
theme 1; ctl post setting Policy; icon_is $R $W "another setting leaves the digits"
ctl post setting ImmersiveColorSet; icon_is $R $K "a light taskbar: digits in the button text colour"
battery 7 Charging; mains 1; poll; readd_tray; icon_is $B $K "charging: blue, and so again after TaskbarCreated"
xdotool mousemove 12 32 sleep 0.1 click 1
wait_for 5 eval '[ "$(state visible)" = 1 ]' || fail "a click on the icon did not show the window"
# Wine refuses a second add of an icon it has: the icon is still there, so Esc may hide.
ctl post taskbarcreated; press Escape
assert_eq 0 "$(state visible)" "a TaskbarCreated while the icon stays: Esc hides"
ctl post tray 0x201; ctl post untray; wait_for 5 eval '! tray_shown'; press Escape
assert_eq "0 1" "$(state visible) $(tray_shown && echo 1)" "Esc adds an icon lost unnoticed again, then hides"
theme 0; ctl post setting ImmersiveColorSet; icon_is $B $W "a dark taskbar again: white digits"
ctl post tray 0x201; click icon; boxes Color 5000 1
assert_eq 16777215 "$(ini IconColor)" "OK in the colour chooser stores the colour in decimal"
theme 1; ctl post setting ImmersiveColorSet; icon_is $B $W "a chosen colour stays when the taskbar changes"
close_meter
start_meter
tray_up; icon_is $B $W "a stored colour wins over a light taskbar at start"
close_meter
