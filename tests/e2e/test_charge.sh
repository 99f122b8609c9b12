#!/usr/bin/env bash
# For an owner who keeps the battery healthy: the unplug reminder, opted in, once per plug-in, as a
# notification of the icon that holds nothing back; the battery's percent told at once by the power
# setting notification.
. "$(dirname "$0")/harness.sh"
REMINDER="Die Batterie ist zu %u %% geladen.|Bitte ziehen Sie das Netzteil ab, um die Batterie zu schonen."
reminded() {  # reminded LEVEL WHAT: a new notification naming the level, read on screen; no box, the window hidden
    local before=${NOTICE:-}; notice 10000; boxes "$CAP"
    assert_eq "1 $CAP $(sed "s/%u %%/$1 %/; s/|/ /" <<<"$REMINDER") 0 0" \
        "$([ "$NOTICE" != "$before" ] && echo 1) $NOTICE_TEXT $NBOX $(state visible)" "$2"
}
printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=9\r\nLogfile=1\r\nUnplugThreshold=80\r\n' >"$INI"
mains 1; battery 79 Charging
start_meter LC_ALL=de_AT.UTF-8
battery 80 Charging; poll; reminded 80 "charging at the threshold: the reminder, in German"
battery 81 Charging; poll; battery 81 Full; poll; battery 82 Charging; ctl post power 10
assert_eq "$NOTICE" "$(ctl balloon 0 | cut -d' ' -f1)" \
    "charging goes on, stops and resumes with the charger in: the same notification, no new one"
mains 0; battery 81; poll; mains 1; battery 82 Charging; poll
reminded 82 "after an unplug, plugged in again: the reminder again"
# Left standing, it holds nothing back: unplugged at the alert threshold, the alert comes.
mains 0; battery 9; poll
boxes "$CAP" 5000; assert_eq "1 Warnung: Der Batteriestand hat den festgelegten Mindestwert erreicht!" "$NBOX $BOX" \
    "the reminder left standing, unplugged at the alert threshold: the alert"
boxes "$CAP" 0 1
# The percent told at once: a status line without a poll, no sample, and no record to read.
ctl post command save; before=$(hist 256); lines=$(wc -l <"$LOG"); battery 83 Charging; mains 1; ctl post power 0x8013
line=$(tail -n1 "$LOG" | cut -d' ' -f3- | tr -d '\r'); ctl post command save
assert_eq "83, ONLINE, HIGH|CHARGING|$before" "$line|$(hist 256)" \
    "a power setting notification without its record: the new level at once, no sample"
assert_eq $((lines + 1)) "$(wc -l <"$LOG")" "one line for it, none for the notification itself"
close_meter
