#!/usr/bin/env bash
# Usable by everyone: the graph's name as a screen reader gets it, the two choices of the window menu,
# chosen with real keys, and what they write.
. "$(dirname "$0")/harness.sh"
APPROVED='HKCU\Software\Microsoft\Windows\CurrentVersion\Explorer\StartupApproved\Run'  # Task Manager's switch
choose() { press alt+space "$@" Return; }  # choose KEYS: from the window menu's top, Up wraps to the last
# menu_lists TEXT WHAT: the window menu, opened with keys, shows an item TEXT as a person reads it (black
# on the dark blue menu of the harness's prefix: the blue channel, stretched).
menu_lists() {
    local x y w h s; read -r x y w h < <(ctl rect graph) || fail "no graph"
    press alt+space; s=$(shot menu); press Escape  # it opens over the window's top left
    convert "$s" -crop "320x280+$((x - 10))+$((y - 10))" +repage -channel B -separate +channel -level 0,50% \
        -resize 200% png:- | tesseract - - --psm 6 -l eng 2>/dev/null | grep -q "$1\$" ||
        fail "$2: no item '$1' in the window menu"; log "ok: $2"
}
HERE="\"Z:${APP//\//\\}\\Ampwatch.exe\""
printf '[Settings]\r\nRunHidden=0\r\nUnplugThreshold=90\r\n' >"$INI"
start_meter
assert_eq "2:30 h (50%) remaining" "$(ctl name graph)" "a screen reader names the graph as the tooltip reads"
battery 57; poll
assert_eq "2:51 h (57%) remaining" "$(ctl name graph)" "a new level renames it"
echo 2000000 >"$POWER/BAT0/current_now"; poll
assert_eq "1:25 h (57%) remaining" "$(ctl name graph)" "a new remaining time alone renames it"
choose Up Up
assert_eq "$HERE" "$(reg_value "$RUN")" "Start with Windows writes the quoted path"
choose Up Up
assert_eq "" "$(reg_value "$RUN")" "chosen again, it removes the value"
"$WINE" reg add "$RUN" /v Ampwatch /d '"C:\elsewhere\Ampwatch.exe"' /f >/dev/null 2>&1 </dev/null
choose Up Up
assert_eq "$HERE" "$(reg_value "$RUN")" "a copy elsewhere named: chosen, the path is this one's"
"$WINE" reg add "$APPROVED" /v Ampwatch /t REG_BINARY /d 030000000000000000000000 /f >/dev/null 2>&1 </dev/null
choose Up Up
assert_eq "$HERE|" "$(reg_value "$RUN")|$(reg_value "$APPROVED")" \
    "switched off in Task Manager, the item is unchecked: chosen, the Run value stays and the mark goes"
choose Up Up
assert_eq "" "$(reg_value "$RUN")" "switched on again, the item is checked: chosen, the value goes"
menu_lists "Unplug reminder at 90 %" "the reminder's item names the stored level"
choose Up
assert_eq 255 "$(ini UnplugThreshold)" "chosen, the reminder is off"
menu_lists "Unplug reminder at 80 %" "off, the item offers 80 %"
choose Up
assert_eq 80 "$(ini UnplugThreshold)" "chosen again, the reminder is on at 80 %"
assert_eq 1 "$(state visible)" "the window menu's own items left alone"
close_meter
