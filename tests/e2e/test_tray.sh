#!/usr/bin/env bash
# The tray icon as Wine's notification area shows it (without a desktop tray
# Wine keeps the icons in its own "Wine System Tray" window at the top left).
. "$(dirname "$0")/harness.sh"

# colours SHOT: "green yellow red blue black" pixel counts of the icon slot.
colours() {
    convert "$1" -crop 24x24+0+20 +repage txt:- | awk '
        / #00FF00 / {g++} / #FFFF00 / {y++} / #FF0000 / {r++} / #0000FF / {b++} / #000000 / {k++}
        END {printf "%d %d %d %d %d\n", g, y, r, b, k}'
}
# fill_is NAME WHAT: the icon's fill has the colour NAME and no other fill colour.
fill_is() {
    local shot g y r b k
    shot=$(screenshot "$2") || fail "no screenshot"
    read -r g y r b k < <(colours "$shot")
    log "icon pixels for $2: green $g yellow $y red $r blue $b black $k"
    local want
    case $1 in green) want=$g ;; yellow) want=$y ;; red) want=$r ;; blue) want=$b ;; none) want=0 ;; esac
    [ $((g + y + r + b)) = "$want" ] || fail "$2: a fill other than $1"
    [ "$1" = none ] || [ "$want" -ge 10 ] || fail "$2: no $1 fill"
    [ "$k" -ge 10 ] || fail "$2: no outline or digits"
    log "ok: $2 shows a $1 fill"
}

printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n' >"$INI"
no_battery
start_meter
sync_meter
wait_for 10 tray_shown || fail "no tray icon"
fill_is none "no battery: the question mark without a fill"
battery 50 Discharging
poll
fill_is green "50 %"
battery 20
poll
fill_is yellow "20 %, at or below the low threshold"
battery 7
poll
fill_is red "7 %, at or below the critical threshold"
battery 7 Charging
mains 1
poll
fill_is blue "charging"

# A click on the icon shows the hidden window.
assert_eq 0 "$(state_of visible)" "the window is hidden"
xdotool mousemove 12 32 sleep 0.1 click 1
sync_meter
wait_for 5 test "$(state_of visible)" = 1 || fail "a click on the tray icon did not show the window"
log "ok: a click on the tray icon shows the window"

# The notification area loses the icon; its TaskbarCreated brings it back
# with the picture it had.
ctl post untray >/dev/null || fail "cannot remove the icon"
wait_for 5 tray_gone ||
    fail "the icon did not go"
ctl post taskbarcreated >/dev/null
sync_meter
wait_for 5 tray_shown || fail "no icon after TaskbarCreated"
fill_is blue "after TaskbarCreated"
close_meter
wait_for 5 tray_gone ||
    fail "the icon outlived the meter"
log "ok: closing removes the icon"
