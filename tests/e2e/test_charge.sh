#!/usr/bin/env bash
# For an owner who keeps the battery healthy: the unplug reminder, opted in, once a charge;
# the battery's percent told at once by the power setting notification.
. "$(dirname "$0")/harness.sh"
REMINDER="Die Batterie ist zu %u %% geladen.|Bitte ziehen Sie das Netzteil ab, um die Batterie zu schonen."
settings() { printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\nLogfile=1\r\n%s' "$1" >"$INI"; }
quiet() { boxes "$CAP"; assert_eq 0 "$NBOX" "$1"; }
reminded() {  # reminded LEVEL WHAT: one reminder naming the level, the window shown for it, then OK
    boxes "$CAP" 5000; assert_eq "1 ${REMINDER/\%u %%/$1 %} 1" "$NBOX $BOX $(state visible)" "$2"
    boxes "$CAP" 0 1; ctl post command ok
}
assert_eq "The battery is charged to %u %%.|Please unplug the charger to spare the battery.|$REMINDER" \
    "$(strings 817 817)|$(strings 417 417)" "the reminder's texts"
mains 1; battery 95 Charging
for key in "" "UnplugThreshold=150"; do
    settings "$key"; start_meter; poll; quiet "no reminder with '$key'"; close_meter
done
settings "UnplugThreshold=80"; battery 79 Charging
start_meter LC_ALL=de_AT.UTF-8
quiet "charging below the threshold"
battery 80 Charging; poll; reminded 80 "charging at the threshold: the reminder, in German"
battery 81 Charging; poll; quiet "quiet while the charge goes on"
battery 81 Full; poll; battery 82 Charging; ctl post power 10
reminded 82 "charging again above the threshold after it had stopped"
# The percent told at once: a status line without a poll, no sample, and no record to read.
before=$(hist 256); lines=$(wc -l <"$LOG"); battery 83 Charging; ctl post power 0x8013
assert_eq "83, ONLINE, HIGH|CHARGING|$before" "$(tail -n1 "$LOG" | cut -d' ' -f3- | tr -d '\r')|$(hist 256)" \
    "a power setting notification without its record: the new level at once, no sample"
assert_eq $((lines + 1)) "$(wc -l <"$LOG")" "one line for it, none for the notification itself"
close_meter
