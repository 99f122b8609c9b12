#!/usr/bin/env bash
# Low-battery alert with the default threshold 9: once per fall, re-armed only
# above 12 %, shown over a meter that runs hidden in the tray.
. "$(dirname "$0")/harness.sh"

ALERT="Warning: The battery level has reached the configured lower limit!"

expect_boxes() {  # expect_boxes COUNT WHAT
    assert_eq "$1" "$(box_count)" "$2"
}

alert_appears() {  # alert_appears WHAT: the box shows, text checked, then answered
    local text
    text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "$1: no alert box"
    assert_eq "$ALERT" "$text" "$1: alert text"
    expect_boxes 1 "$1: alert boxes"
    assert_eq 1 "$(state_of visible)" "$1: the alert shows the main window"
    assert_rc 0 "$1: alert answered with OK" ctl answer "$E2E_CAPTION" 1
    expect_boxes 0 "$1: boxes after the answer"
}

printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
battery 10 Discharging
start_meter
sync_meter
expect_boxes 0 "10 % at start: no alert above the threshold"
assert_eq 0 "$(state_of visible)" "started hidden in the tray"

battery 9
poll
alert_appears "fall to 9 %"

poll
poll
expect_boxes 0 "further polls at 9 %: the alert stays latched"

battery 12
poll
battery 9
poll
expect_boxes 0 "12 % does not re-arm the alert"

battery 13
poll
expect_boxes 0 "13 %: no alert"
battery 9 Discharging
poll
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "13 % then 9 %: no new alert"
# Polls go on while the box is open, and must not stack a second one.
poll
poll
expect_boxes 1 "polls while the alert is open"
assert_rc 0 "second alert answered" ctl answer "$E2E_CAPTION" 1

# A status change through a power notification also runs the check.
battery 20
poll
battery 5
ctl post power 10 >/dev/null
sync_meter
alert_appears "power status notification at 5 %"

close_meter
