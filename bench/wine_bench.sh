#!/usr/bin/env bash
# The meter under Wine next to a minimal tray program (bench/baseline_tray.cpp)
# in the same prefix and display: memory, idle cost and start-up. Run by
# scripts/bench.sh through tests/e2e/run.sh; writes "name value" lines to
# $BENCH_FIGURES. Only a broken set-up fails; no figure has a pass mark.
. "$(dirname "$0")/../tests/e2e/harness.sh"

: "${BENCH_FIGURES:?}" "${BENCH_BASELINE:?}"
IDLE_SECONDS=${BENCH_IDLE_SECONDS:-130}
STARTS=${BENCH_STARTS:-3}
BAT='Z:\sys\class\power_supply\BAT0' AC='Z:\sys\class\power_supply\AC'
: >"$BENCH_FIGURES"
cp "$BENCH_BASELINE" "$APP/baseline_tray.exe" || fail "no baseline program"
BASELINE_PID=

figure() {
    echo "$1 $2" >>"$BENCH_FIGURES"
    log "figure $1 = $2"
}

now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }

# Resident and private memory (KiB) of a process.
resident() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
private() { awk '/^Private_(Clean|Dirty):/ {s += $2} END {print s + 0}' "/proc/$1/smaps_rollup"; }
# Voluntary context switches of all threads of a process.
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ {s += $2} END {print s + 0}'; }

# Every open of a simulated power-supply file, one line each with its time (ms).
OPENS=$SCRATCH/opens.log
start_watch() {
    : >"$OPENS"
    (inotifywait -m -r -e open --format '%w%f' "$POWER" 2>"$SCRATCH/inotify.err" |
        while read -r f; do t=${EPOCHREALTIME/./}; echo "$((t / 1000)) $f"; done >>"$OPENS") &
    WATCH_PID=$!
    wait_for 10 grep -q 'Watches established' "$SCRATCH/inotify.err" 2>/dev/null ||
        fail "the file watch did not start"
}
stop_watch() {
    pkill -P "$WATCH_PID" 2>/dev/null
    kill "$WATCH_PID" 2>/dev/null
    wait "$WATCH_PID" 2>/dev/null
}
opens() { wc -l <"$OPENS"; }
# Status reads: bursts of opens, each more than 500 ms after the one before.
reads() { awk '{ if (NR == 1 || $1 - last > 500) n++; last = $1 } END {print n + 0}' "$OPENS"; }

# start_baseline MILLISECONDS: runs for that long, then ends by itself.
start_baseline() {
    (cd "$APP" && exec "$WINE" "$APP/baseline_tray.exe" "$1" >"$SCRATCH/baseline.out" 2>&1 </dev/null) &
    BASELINE_PID=$!
    wait_for 20 grep -q '^tray ' "$SCRATCH/baseline.out" || fail "the baseline did not start"
    grep -q '^tray added' "$SCRATCH/baseline.out" || fail "the baseline has no tray icon"
}
stop_baseline() {
    wait_for 30 e2e_gone "$BASELINE_PID" || fail "the baseline did not end"
    wait "$BASELINE_PID" 2>/dev/null
    BASELINE_PID=
}
e2e_gone() { ! kill -0 "$1" 2>/dev/null; }

printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\nInterval=60\r\n' >"$INI"

# --- start-up: launch to tray icon (and, for the meter, its first poll) ------
# The meter adds its icon and then posts its first poll, so the first read of
# the simulated battery marks both. Wine is warm for every run alike.
meter_ms=() base_ms=()
for ((run = 1; run <= STARTS; run++)); do
    # Launched as the baseline is, with no control tool starting meanwhile.
    start_watch
    t0=$(now_ms)
    (cd "$APP" && exec "$WINE" "$APP/Ampwatch.exe" >"$SCRATCH/meter.start$run.out" 2>&1 </dev/null) &
    METER_PID=$!
    wait_for 20 test -s "$OPENS" || fail "the meter did not poll"
    meter_ms+=($(( $(head -n1 "$OPENS" | cut -d' ' -f1) - t0 )))
    stop_watch
    ctl wait-main 20000 >/dev/null || fail "the meter's main window did not appear"
    close_meter

    t0=$(now_ms)
    start_baseline 500
    base_ms+=($(( $(tr -d '\r' <"$SCRATCH/baseline.out" | awk '{print $3}') - t0 )))
    stop_baseline
done
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }
figure startup_meter_ms "$(median "${meter_ms[@]}")"
figure startup_baseline_ms "$(median "${base_ms[@]}")"

# --- memory: after start-up, after 1 and after 1000 polls ---------------------
start_meter
sync_meter
pid=$METER_PID
grep -q Ampwatch.exe "/proc/$pid/cmdline" || fail "pid $pid is not the meter"
start_baseline $(( (IDLE_SECONDS + 60) * 1000 ))
sleep 3
figure meter_start_rss_kib "$(resident "$pid")"
figure meter_start_private_kib "$(private "$pid")"
figure baseline_rss_kib "$(resident "$BASELINE_PID")"
figure baseline_private_kib "$(private "$BASELINE_PID")"
start_watch
poll
figure meter_1poll_rss_kib "$(resident "$pid")"
figure meter_1poll_private_kib "$(private "$pid")"
# The control tool changes the simulated battery every 5 polls.
ctl soak 999 "$BAT" "$AC" >/dev/null || fail "the polls stopped"
sleep 1
stop_watch
figure meter_1000poll_rss_kib "$(resident "$pid")"
figure meter_1000poll_private_kib "$(private "$pid")"
figure opens_per_poll "$(awk -v n="$(opens)" 'BEGIN {printf "%.2f", n / 1000}')"

# --- idle: the poll timer alone, meter and baseline side by side --------------
battery 50 Discharging
mains 0
start_watch
# Both counts every second, to tell a poll's switches from those between polls.
SAMPLES=$SCRATCH/switches.log
: >"$SAMPLES"
m0=$(switches "$pid") b0=$(switches "$BASELINE_PID")
end=$(( $(now_ms) + IDLE_SECONDS * 1000 ))
while (( $(now_ms) < end )); do
    echo "$(now_ms) $(switches "$pid") $(switches "$BASELINE_PID")" >>"$SAMPLES"
    sleep 1
done
m1=$(switches "$pid") b1=$(switches "$BASELINE_PID")
stop_watch
# Seconds with no battery file open within a second of them count as between polls.
between=$(awk 'NR == FNR { open[++n] = $1; next }
    FNR > 1 { near = 0
              for (i = 1; i <= n; i++) if (open[i] >= t - 1000 && open[i] <= $1 + 1000) near = 1
              if (!near) s += $2 - m }
    { t = $1; m = $2 } END { print s + 0 }' "$OPENS" "$SAMPLES")
figure idle_meter_switches_between_polls "$between"
figure idle_seconds "$IDLE_SECONDS"
figure idle_opens "$(opens)"
figure idle_reads "$(reads)"
figure idle_expected_polls $((IDLE_SECONDS / 60))
figure idle_meter_switches $((m1 - m0))
figure idle_baseline_switches $((b1 - b0))

# The last icon of the prefix: no later start depends on a clean end.
kill "$BASELINE_PID" 2>/dev/null
close_meter
