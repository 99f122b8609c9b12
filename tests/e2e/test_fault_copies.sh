#!/usr/bin/env bash
# Ten copies started at once: exactly one stays, the others end with 0.
. "$(dirname "$0")/harness.sh"

printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
pids=()
for i in $(seq 10); do
    (cd "$APP" && exec "$WINE" "$APP/Ampwatch.exe" >"$SCRATCH/copy.$i.out" 2>&1 </dev/null) &
    pids+=($!)
done
ctl wait-main 30000 >/dev/null || fail "no copy made a main window"
# Nine must end; the one that stays is whichever does not.
alive() { local n=0 pid; for pid in "${pids[@]}"; do kill -0 "$pid" 2>/dev/null && n=$((n + 1)); done; echo $n; }
at_most_one() { [ "$(alive)" -le 1 ]; }
wait_for 60 at_most_one || fail "$(alive) copies still running after 60 s"
ended=0 failed=0
for pid in "${pids[@]}"; do
    kill -0 "$pid" 2>/dev/null && continue
    wait "$pid"; rc=$?
    ended=$((ended + 1))
    [ "$rc" = 0 ] || failed=$((failed + 1))
done
assert_eq 9 "$ended" "copies that ended"
assert_eq 0 "$failed" "copies that ended with an exit code other than 0"
assert_eq 1 "$(ctl procs Ampwatch.exe)" "copies still running"
ctl post close >/dev/null
ctl wait-gone 20000 || fail "the remaining copy did not close"
log "ok: the remaining copy closed"
