#!/usr/bin/env bash
# The event log with Logfile=1: header, lines, CR LF, recreated when deleted,
# lines lost only while another program locks it.
. "$(dirname "$0")/harness.sh"

LOG=$APP/Ampwatch.txt
HEADER="Date, Time, BatteryLifePercent, ACLineStatus, BatteryFlag"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
# lines: the log without its CR and without the date and time columns.
lines() { tr -d '\r' <"$LOG" | sed -E 's/^[0-9]{4,}-[0-9]{2}-[0-9]{2}, [0-9]{2}:[0-9]{2}:[0-9]{2}, //'; }
count() { tr -d '\r' <"$LOG" | wc -l; }

# Off by default: no file at all.
printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
start_meter
sync_meter
poll
close_meter
[ -e "$LOG" ] && fail "a log file without Logfile=1"
log "ok: no log while logging is off"

printf '[Settings]\r\nRunHidden=1\r\nLogfile=1\r\n' >"$INI"
battery 80 Discharging
mains 0
start_meter
sync_meter
assert_eq "$HEADER" "$(tr -d '\r' <"$LOG" | head -n1)" "the first line is the header"
assert_eq "Ampwatch started" "$(lines | sed -n 2p)" "the second line"
assert_eq "80, OFFLINE, HIGH" "$(lines | sed -n 3p)" "status line of the first poll"
n=$(count)
# Only the remaining time changes: no line.
echo 2000000 >"$POWER/BAT0/current_now"
poll
assert_eq "$n" "$(count)" "lines after a change of the remaining time alone"
battery 79
poll
assert_eq "79, OFFLINE, HIGH" "$(lines | tail -n1)" "status line after a level change"
mains 1
battery 79 Charging
poll
assert_eq "79, ONLINE, HIGH|CHARGING" "$(lines | tail -n1)" "status line on mains and charging"

# Suspend writes only its line; a status change broadcast only its cycle's.
n=$(count)
ctl post power 4 >/dev/null
sync_meter
assert_eq "System is suspending operation" "$(lines | tail -n1)" "suspend line"
assert_eq $((n + 1)) "$(count)" "suspend adds one line"
mains 0
battery 79 Discharging
ctl post power 10 >/dev/null
sync_meter
assert_eq "79, OFFLINE, HIGH" "$(lines | tail -n1)" "power status change: its cycle's status line only"
assert_eq $((n + 2)) "$(count)" "lines after the status change broadcast"
ctl post power 18 >/dev/null
sync_meter
assert_eq "Operation resuming automatically after event" "$(lines | tail -n1)" "resume line"

# Deleted while running: the next line makes it again, header first.
rm "$LOG"
battery 70
poll
assert_eq "$HEADER|70, OFFLINE, HIGH" "$(lines | tr '\n' '|' | sed 's/|$//')" "a deleted log comes back with its header"

# Locked by another program: the lines written meanwhile are lost, no more.
"$WINE" "$SCRATCH/ampctl.exe" hold "$(winpath "$LOG")" 4000 >"$SCRATCH/hold.out" 2>&1 </dev/null &
locker=$!
wait_for 10 grep -q held "$SCRATCH/hold.out" || fail "cannot lock the log"
battery 60
poll
wait "$locker"
battery 50
poll
assert_eq "70, OFFLINE, HIGH|50, OFFLINE, -" "$(lines | sed 1d | tr '\n' '|' | sed 's/|$//')" \
    "the line written while locked is lost, the next one lands"

ctl post endsession >/dev/null
sync_meter
close_meter
assert_eq "Windows session is ending|Ampwatch closed" "$(lines | tail -n2 | tr '\n' '|' | sed 's/|$//')" \
    "session end and close"
crlf=$(grep -c $'\r$' "$LOG")
assert_eq "$(wc -l <"$LOG")" "$crlf" "every line ends in CR LF"
