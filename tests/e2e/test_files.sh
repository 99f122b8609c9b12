#!/usr/bin/env bash
# The history and settings files: what polls and restarts record, the saves at the end of
# the session and at suspend, and saves that fail without harm.
. "$(dirname "$0")/harness.sh"
bind() { mount --bind "$1" "$1" || fail "cannot bind $1"; MOUNTS+=("$1"); }
bind "$APP"; mount -o remount,bind,ro "$APP" || fail "no read-only folder"; battery 9
start_meter
boxes "$CAP" 5000 1
close_meter
umount "$APP" && unset 'MOUNTS[-1]'
assert_eq "1 Ampwatch.exe" "$NBOX $(ls "$APP")" "a first start in a read-only folder alerts and writes nothing"
printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n' >"$INI"
start_meter
assert_eq "" "$(ctl text threshold)" "an alert that is off: an empty threshold box"
battery 40; poll; no_battery; poll; battery 70 Charging; poll
close_meter
assert_eq "256 70 255 40 9 255" "$(stat -c %s "$HIST") $(hist 5)" "polls newest first, no battery a gap"
start_meter
ctl post endsession 0; before=$(hist 2); ctl post endsession 1
assert_eq "70 255|70 70 255" "$before|$(hist 3)" "a restart adds to the history; the end of the session saves, not a called-off one"
battery 72; poll; ctl post power 4; kill -9 "$PID" && ended
assert_eq "72 70 70" "$(hist 3)" "suspend saved the samples of a meter killed afterwards"
# A hidden history stays hidden, a read-only one frozen; where no temporary can be made (a folder or read-only
# file in its place, a read-only folder) or moved over (a mount), the save writes in place.
start_meter
attributes() { python3 -c 'import os, sys; print(int(os.getxattr(sys.argv[1], "user.DOSATTRIB"), 16) & 7)' "$HIST"; }
python3 -c 'import os, sys; os.setxattr(sys.argv[1], "user.DOSATTRIB", b"0x2")' "$HIST"
battery 60; poll; ctl post command save
assert_eq "2 60" "$(attributes) $(hist 1)" "a save replaces a hidden history with a hidden one"
chmod a-w "$HIST"; cp "$HIST" "$SCRATCH/before"; ctl post command save; chmod u+w "$HIST"
cmp -s "$HIST" "$SCRATCH/before" || fail "a save changed the read-only history"
mkdir "$HIST.tmp"; battery 61; poll; ctl post command save
rmdir "$HIST.tmp" || fail "the folder in the temporary file's place went"
echo x >"$HIST.tmp" && chmod a-w "$HIST.tmp"; battery 62; poll; ctl post command save
assert_eq 444x "$(stat -c %a "$HIST.tmp")$(cat "$HIST.tmp")" "the read-only temporary untouched"; rm -f "$HIST.tmp"
bind "$APP"; bind "$HIST"
battery 63; poll; ctl post command save
mount -o remount,bind,ro "$APP" || fail "no read-only folder"
battery 64; poll; ctl post command save
umount "$HIST" "$APP" && MOUNTS=("${MOUNTS[@]:0:${#MOUNTS[@]}-2}")
assert_eq "2 64 63 62 61" "$(attributes) $(hist 4)" "saves in place where no temporary could be used, still hidden"
assert_eq "Ampwatch.csv Ampwatch.dat Ampwatch.exe Ampwatch.ini" "$(ls "$APP" | xargs)" "no temporary left"
# The folder gone: the save at close fails and makes nothing.
cp "$HIST" "$SCRATCH/before"; mv "$APP" "$APP.gone"
close_meter
[ -e "$APP" ] && fail "the save at close made the missing folder again"
mv "$APP.gone" "$APP"
cmp -s "$HIST" "$SCRATCH/before" || fail "a failed save changed the history"
# A folder in the history's place, settings of garbage: the defaults, no harm.
rm "$HIST"; mkdir -p "$HIST/keep"; head -c 4096 /dev/urandom >"$INI"
start_meter
assert_eq 60 "$(state interval)" "the interval from a binary settings file"
close_meter
[ -d "$HIST/keep" ] || fail "the folder in the history's place was touched"
