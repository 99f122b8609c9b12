#!/usr/bin/env bash
# Without a system battery the level is unknown: never an alert, also on
# mains changes and power notifications.
. "$(dirname "$0")/harness.sh"

no_battery
mains 1
start_meter
sync_meter
assert_eq 0 "$(box_count)" "no alert after the start-up poll"
poll
mains 0
poll
ctl post power 10 >/dev/null
ctl post refresh >/dev/null
poll
assert_eq 0 "$(box_count)" "no alert after polls without a battery"
assert_eq 1 "$(state_of visible)" "window still shown"
close_meter
