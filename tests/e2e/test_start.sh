#!/usr/bin/env bash
# From a 259-character path through folders no Western code page can name: first and later starts
# with their files, one meter at a time, hiding by keys, showing by the icon's messages, its life.
SCR=$(dirname "$(realpath "$2")")/scratch/test_start
APP_DIR="Łukasz/田中/$(printf "%$((233 - ${#SCR}))s" | tr ' ' d | sed 's/\(.\{59\}\)./\1\//g')"
. "$(dirname "$0")/harness.sh"
copy() { (cd "$APP" && LC_ALL=C.UTF-8 exec "$WINE" Ampwatch.exe >>"$SCRATCH/copies.out" 2>&1 </dev/null); }
assert_eq 259 $(($(printf 'Z:%s\\Ampwatch.exe' "$APP" | iconv -t UTF-16LE | wc -c) / 2)) "characters of the path"
printf '[Settings]\r\nLogfile=1\r\n' >"$INI"
start_meter
tray_up; assert_eq "1 1" "$(state visible) $(ini RunHidden)" "the first start shows the window, writes RunHidden"
press alt+space Up Up Return
assert_eq "" "$(reg_value "$RUN")" "a path too long for the Run key: Start with Windows writes nothing"
close_meter
assert_eq "Ampwatch.csv Ampwatch.dat Ampwatch.exe Ampwatch.ini Ampwatch.txt|Ampwatch closed" \
    "$(ls "$APP" | xargs)|$(tail -n1 "$LOG" | cut -d' ' -f3- | tr -d '\r')" "the files beside the program, the log"
start_meter
assert_eq 0 "$(state visible)" "a later start stays in the tray"
copy || fail "a second copy ended with $?"
assert_eq "1 1" "$(state visible) $(state foreground)" "a second copy brings the first one forward"
press Escape; for m in 0x200 0x202 0x203; do ctl post tray $m; done
assert_eq 0 "$(state visible)" "Esc hides; moves, releases and double clicks over the icon show nothing"
ctl post tray 0x201; press Return
assert_eq "0 1" "$(state visible) $(ctl post tray 0x204; state visible)" "the left button shows, Enter hides, the right shows"
close_meter
assert_eq "50 50 255" "$(hist 3)" "the history saved at the first close was read at the next start"
# Copies started together: one stays, shown by the others, which end with 0.
pids=(); for i in 1 2 3 4 5; do copy & pids+=($!); done
one_left() { local p n=0; for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && n=$((n + 1)); done; [ $n = 1 ]; }
wait_for 60 one_left || fail "not one copy left"
for p in "${pids[@]}"; do kill -0 "$p" 2>/dev/null && PID=$p || wait "$p" || fail "a copy ended with $?"; done
ctl wait-meter 20000; assert_eq 1 "$(state visible)" "the copies show the one that stayed"
close_meter
# A copy hung in its start holds the name without a window: the next one waits for it a while, then runs.
LC_ALL=C.UTF-8 "$WINE" "$CTL" mutex 12000 >"$SCRATCH/held" 2>&1 </dev/null & holder=$!  # unbuffered: no ctl
wait_for 10 grep -q held "$SCRATCH/held" || fail "the name is not held"
start_meter; assert_eq 0 "$(state visible)" "a copy that holds the name but shows no window: the meter starts after all, in the tray"
close_meter; wait "$holder"
# A slow logon: a tray that refuses requests a while (a stand-in first in line); one that answers FALSE to an add it took.
standin() { LC_ALL=C.UTF-8 "$WINE" "$CTL" standin "$@" >"$SCRATCH/standin" 2>&1 </dev/null & tray_pid=$!
    wait_for 10 grep -q ready "$SCRATCH/standin" || fail "no stand-in tray"; }
# adds: ADDS the icon requests the stand-in saw, once it has gone
adds() { wait "$tray_pid" || fail "the stand-in tray ended with $?"; ADDS=$(grep -c '^0' "$SCRATCH/standin"); }
standin 5000; start_meter; adds; tray_up
assert_eq "1 0" "$((ADDS > 1)) $(state visible)" "refused, the icon is asked for again and comes once the tray answers; \
the window stays hidden"
ctl post untray; wait_for 5 eval '! tray_shown' || fail "the icon stayed"; battery 40; poll
tray_up; log "ok: an icon gone without a word comes back after the next change"
close_meter
standin 5000 late; start_meter; adds; tray_up
assert_eq "1 0" "$ADDS $(state visible)" "an add answered FALSE that landed: found there, not added again"
close_meter
