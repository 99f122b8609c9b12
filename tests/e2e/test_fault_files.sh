#!/usr/bin/env bash
# The meter's files in bad shape: a read-only folder, a history file that is a
# folder or locked, hand-edited settings files of every kind of garbage.
. "$(dirname "$0")/harness.sh"

HIST=$APP/Ampwatch.dat
winpath() { printf 'Z:%s' "${1//\//\\}"; }
ALERT="Warning: The battery level has reached the configured lower limit!"

# A read-only program folder: the meter runs and alerts, and writes nothing.
mount --bind "$APP" "$APP" && E2E_MOUNTS+=("$APP") && mount -o remount,bind,ro "$APP" ||
    fail "cannot make the program folder read-only"
battery 9
start_meter
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "no alert in a read-only folder"
assert_eq "$ALERT" "$text" "alert in a read-only folder"
ctl answer "$E2E_CAPTION" 1 >/dev/null
ctl post command 40002 >/dev/null
ctl post endsession >/dev/null
sync_meter
close_meter
assert_eq "Ampwatch.exe" "$(ls "$APP" | tr '\n' ' ' | sed 's/ $//')" "files in the read-only folder"
umount "$APP" && unset 'E2E_MOUNTS[-1]'

# The history file is a folder: start, save and close still work.
battery 50
mkdir "$HIST"
touch "$HIST/keep"
start_meter
sync_meter
ctl post command 40002 >/dev/null
sync_meter
close_meter
[ -d "$HIST" ] && [ -f "$HIST/keep" ] || fail "the folder in the history file's place was touched"
log "ok: a folder as history file is left alone"
[ -z "$(ls "$APP" | grep -v -e '^Ampwatch\.\(exe\|ini\|dat\)$')" ] || fail "stray files: $(ls "$APP")"
rm -rf "$HIST"

# A locked history file: loading and saving fail, the lock's owner keeps it.
printf '\x28%.0s' $(seq 256) >"$HIST"
cp "$HIST" "$SCRATCH/before.dat"
"$WINE" "$SCRATCH/ampctl.exe" hold "$(winpath "$HIST")" 8000 >"$SCRATCH/hold.out" 2>&1 </dev/null &
locker=$!
wait_for 10 grep -q held "$SCRATCH/hold.out" || fail "cannot lock the history file"
start_meter
sync_meter
close_meter
cmp -s "$HIST" "$SCRATCH/before.dat" || fail "the locked history file was changed"
log "ok: a locked history file stays as it was"
wait "$locker" || fail "the locker lost its file"

# Settings files of garbage: defaults apply and nothing crashes.
head -c 4096 /dev/urandom >"$INI"
start_meter
sync_meter
assert_eq 60 "$(ctl trackpos)" "interval from a binary INI"
close_meter
{ printf '[Settings]\r\nInterval='; head -c 1048576 /dev/zero | tr '\0' '7'; printf '\r\n'; } >"$INI"
start_meter
sync_meter
assert_rc 0 "the meter answers with a 1 MB line in its INI" ctl sync
close_meter
printf '[Settings]\r\nInterval=120\r\nInterval=300\r\n[Other]\r\nInterval=180\r\n[Settings]\r\nInterval=240\r\nAlertThreshold=20\r\n' >"$INI"
start_meter
sync_meter
assert_eq 120 "$(ctl trackpos)" "duplicate keys and sections: the first one counts"
close_meter
