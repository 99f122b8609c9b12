#!/usr/bin/env bash
# The history file: what polls record, what a restart adds, and saves that
# must not destroy the old file.
. "$(dirname "$0")/harness.sh"

HIST=$APP/Ampwatch.dat

# first_bytes N: the first N bytes of the history file as decimal numbers.
first_bytes() { od -An -tu1 -v -N "$1" "$HIST" | tr -s ' \n' ' ' | sed 's/^ //; s/ $//'; }
file_size() { stat -c %s "$1"; }

printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
battery 50 Discharging
start_meter
sync_meter
battery 40
poll
battery 30 Charging
poll
no_battery
poll
battery 20
poll
close_meter
[ -f "$HIST" ] || fail "close wrote no history file"
assert_eq 256 "$(file_size "$HIST")" "size of the history file"
assert_eq "20 255 30 40 50 255" "$(first_bytes 6)" "start-up poll and four more, newest first, no battery a gap"
assert_eq 250 "$(od -An -tu1 -v -j6 "$HIST" | tr -s ' \n' '\n' | grep -c '^255$')" "the rest are gaps"

# A restart loads the file and records one sample at once.
battery 70
start_meter
sync_meter
close_meter
assert_eq "70 20 255 30 40 50 255" "$(first_bytes 7)" "restart adds its start-up sample to the loaded history"

# The end of the session saves, the window and timer stay.
start_meter
sync_meter
battery 71
poll
ctl post endsession >/dev/null
sync_meter
assert_eq "71 70 70 20" "$(first_bytes 4)" "the end of the session saves"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "the meter keeps running after the end of the session"
close_meter

# A damaged file (one byte of 101) is ignored and not rewritten until a save.
printf '\x32%.0s' $(seq 255) >"$HIST"
printf '\x65' >>"$HIST"
cp "$HIST" "$SCRATCH/damaged.dat"
battery 60
start_meter
sync_meter
cmp -s "$HIST" "$SCRATCH/damaged.dat" || fail "loading changed the damaged file"
close_meter
assert_eq "60 255 255" "$(first_bytes 3)" "a damaged file loads as an empty history"

# A read-only history file survives the save attempt unchanged.
cp "$HIST" "$SCRATCH/before.dat"
chmod a-w "$HIST"
battery 55
start_meter
sync_meter
close_meter
cmp -s "$HIST" "$SCRATCH/before.dat" || fail "the read-only history file was changed"
log "ok: read-only history file unchanged"
[ -e "$HIST.tmp" ] && fail "a temporary file was left beside the read-only history"
chmod u+w "$HIST"

# A folder where the temporary file cannot be created: the old file stays.
cp "$HIST" "$SCRATCH/before.dat"
start_meter
sync_meter
battery 44
poll
mount --bind "$APP" "$APP" || fail "cannot bind the program folder"
E2E_MOUNTS+=("$APP")
mount -o remount,bind,ro "$APP" || fail "cannot make the program folder read-only"
ctl post command 40002 >/dev/null
sync_meter
close_meter
cmp -s "$HIST" "$SCRATCH/before.dat" || fail "a failed save changed the history file"
log "ok: failed save into a read-only folder kept the old file"

# The temporary file's name is taken by a folder: the save fails, the old
# file stays, and the folder is left alone.
umount "$APP" && unset 'E2E_MOUNTS[-1]'
mkdir "$HIST.tmp"
start_meter
sync_meter
battery 33
poll
close_meter
cmp -s "$HIST" "$SCRATCH/before.dat" || fail "a save without its temporary file changed the history file"
[ -d "$HIST.tmp" ] || fail "the folder in the temporary file's place was removed"
log "ok: no temporary file possible, old history kept"
rmdir "$HIST.tmp"
start_meter
sync_meter
close_meter
assert_eq "33" "$(first_bytes 1)" "with the way free again the save works"
