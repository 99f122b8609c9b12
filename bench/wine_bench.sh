#!/usr/bin/env bash
# The meter under Wine next to the design's floor (bench/floor_tray.cpp) and a minimal tray
# program (bench/baseline_tray.cpp) in the same prefix and display: start-up, memory, growth
# over polls, wakes while idle, and the memory of meter and floor again at 144 dpi. Each wineserver
# start is followed by a throwaway run of the floor before anything is measured: the first GUI
# program after it can pay Wine's own one-off start (about 14 MiB private, seen on a host that runs
# 32-bit code), and whichever program came first would carry it. Runs on the end-to-end harness like
# a scenario:
#   bash wine_bench.sh AMPWATCH_EXE AMPCTL_EXE PLANTED_DLL
# and writes "name value" lines to $BENCH_FIGURES. Only a set-up that cannot run fails; no
# figure has a pass mark here.
. "$(dirname "$0")/../tests/e2e/harness.sh"

: "${BENCH_FIGURES:?}" "${BENCH_BASELINE:?}" "${BENCH_FLOOR:?}"
IDLE_SECONDS=${BENCH_IDLE_SECONDS:-130} STARTS=${BENCH_STARTS:-3} POLLS=${BENCH_POLLS:-1000}
: >"$BENCH_FIGURES"
cp "$BENCH_BASELINE" "$APP/baseline_tray.exe" || fail "no baseline program"
cp "$BENCH_FLOOR" "$APP/floor_tray.exe" || fail "no floor program"
BASE= FLOOR=

figure() { echo "$1 $2" >>"$BENCH_FIGURES"; log "figure $1 = $2"; }
now_ms() { local t=${EPOCHREALTIME/./}; echo $((t / 1000)); }
median() { printf '%s\n' "$@" | sort -n | awk '{a[NR] = $1} END {print a[int((NR + 1) / 2)]}'; }

# Resident and private memory (KiB) of a process; voluntary context switches of all its threads.
resident() { awk '/^VmRSS:/ {print $2}' "/proc/$1/status"; }
private() { awk '/^Private_(Clean|Dirty):/ {s += $2} END {print s + 0}' "/proc/$1/smaps_rollup"; }
switches() { cat /proc/"$1"/task/*/status 2>/dev/null | awk '/^voluntary_ctxt_switches:/ {s += $2} END {print s + 0}'; }
memory() {  # memory NAME PID
    figure "${1}_rss_kib" "$(resident "$2")"
    figure "${1}_private_kib" "$(private "$2")"
}

# Every status query reads the simulated battery's files. With access times kept at every
# read, the newest one (Unix ms) tells when the meter last asked, without watching it.
mount -o remount,strictatime "$POWER" || fail "cannot keep access times on the power supply"
last_read() { stat -c %.3X "$POWER"/*/* | sort -n | tail -n1 | tr -d .; }
read_after() { READ=$(last_read); [ "$READ" -gt "$1" ]; }  # read_after MS: READ, if later

# start_other NAME MS: the baseline or the floor, ending by itself after MS (never with 0); its
# pid in BASE or FLOOR, the time its icon was in place in NAME.out.
start_other() {
    rm -f "$SCRATCH/$1.out"  # the last run's line must not pass for this one's
    (cd "$APP" && exec "$WINE" "$1_tray.exe" "$2" >"$SCRATCH/$1.out" 2>&1 </dev/null) &
    if [ "$1" = baseline ]; then BASE=$!; else FLOOR=$!; fi
    wait_for 20 grep -q '^tray ' "$SCRATCH/$1.out" || fail "the $1 did not start"
    grep -q '^tray added' "$SCRATCH/$1.out" || fail "the $1 has no tray icon"
}
other_ended() { wait_for 30 eval '! kill -0 "$1" 2>/dev/null' || fail "pid $1 did not end"; wait "$1"; }
icon_ms() { tr -d '\r' <"$SCRATCH/$1.out" | awk '{print $3}'; }
warm_up() { start_other floor 500; other_ended "$FLOOR"; }  # after each wineserver start

printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\nInterval=60\r\n' >"$INI"
warm_up  # the harness started the server

# --- start-up: launch to tray icon (and, for the meter, its first poll) ------
# The meter adds its icon and then posts its first poll, so its first status read marks both.
# Nothing else runs meanwhile: the control tool comes in only after that read.
meter_ms=() base_ms=() floor_ms=()
for ((run = 1; run <= STARTS; run++)); do
    t0=$(now_ms)
    (cd "$APP" && exec "$WINE" Ampwatch.exe >"$SCRATCH/meter.start$run.out" 2>&1 </dev/null) &
    PID=$!
    wait_for 20 read_after "$t0" || fail "the meter did not poll"
    meter_ms+=($((READ - t0)))
    ctl wait-meter 20000 || fail "no main window"
    close_meter

    t0=$(now_ms)
    start_other baseline 500
    base_ms+=($(($(icon_ms baseline) - t0)))
    other_ended "$BASE"

    t0=$(now_ms)
    start_other floor 500
    floor_ms+=($(($(icon_ms floor) - t0)))
    other_ended "$FLOOR"
done
figure startup_meter_ms "$(median "${meter_ms[@]}")"
figure startup_baseline_ms "$(median "${base_ms[@]}")"
figure startup_floor_ms "$(median "${floor_ms[@]}")"

# --- memory: after start-up, after 1 and after POLLS polls -------------------
start_meter
grep -q Ampwatch.exe "/proc/$PID/cmdline" || fail "pid $PID is not the meter"
start_other baseline 0
start_other floor 6000  # measured with the others, then gone before the polls
sleep 3
memory meter_start "$PID"
memory baseline "$BASE"
memory floor "$FLOOR"
other_ended "$FLOOR"
button_96=$(ctl rect ok | cut -d' ' -f3)
poll
memory meter_1poll "$PID"
# Polls that find the battery changed draw a new icon: the churn makes most of them do so.
(while :; do for l in 80 31 7; do battery $l; sleep 0.02; battery $l Charging; mains 1; sleep 0.02
    mains 0; done; done) &
churn=$!
ctl poll $((POLLS - 1)) || { kill $churn; fail "the polls stopped"; }
kill $churn; wait $churn || :  # ended by the signal
sleep 1
figure polls "$POLLS"
memory meter_polls "$PID"

# --- idle: the poll timer alone, meter and baseline side by side --------------
# Sampled five times a second: the switches of both and the meter's last status read. The
# samples within a second of a read belong to its poll; the others are wakes between polls.
battery 50 && mains 0 && poll
SAMPLES=$SCRATCH/idle.log
: >"$SAMPLES"
end=$(($(now_ms) + IDLE_SECONDS * 1000))
while
    echo "$(now_ms) $(switches "$PID") $(switches "$BASE") $(last_read)" >>"$SAMPLES"
    (($(now_ms) < end))
do sleep 0.2; done
read -r reads meter base between < <(awk '
    NR > 1 && $4 != r { if (!n || $4 - at[n] > 500) at[++n] = $4 }
    { t[NR] = $1; m[NR] = $2; b[NR] = $3; r = $4 }
    END {
        for (i = 2; i <= NR; i++) {
            near = 0
            for (k = 1; k <= n; k++) if (at[k] >= t[i - 1] - 1000 && at[k] <= t[i] + 1000) near = 1
            if (!near) s += m[i] - m[i - 1]
        }
        print n + 0, m[NR] - m[1], b[NR] - b[1], s + 0
    }' "$SAMPLES")
figure idle_seconds "$IDLE_SECONDS"
figure idle_reads "$reads"
figure idle_meter_switches "$meter"
figure idle_baseline_switches "$base"
figure idle_meter_switches_between_polls "$between"
ctl post close; ended  # the baseline's icon stays

# --- memory at 144 dpi, meter and floor: Wine reads LogPixels when its server starts
"$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d 144 /f >/dev/null 2>&1 </dev/null ||
    fail "cannot set 144 dpi"
"$WINESERVER" -k; "$WINESERVER" -w
wait "$BASE" 2>/dev/null || :  # ended with the server
"$WINE" wineboot >"$SCRATCH/wineboot.144.out" 2>&1 </dev/null
warm_up
start_meter
start_other floor 6000
sleep 3
memory meter_144dpi "$PID"
memory floor_144dpi "$FLOOR"
other_ended "$FLOOR"
button_144=$(ctl rect ok | cut -d' ' -f3)
# The dialog grows with the system font: the setting took.
[ "${button_144:-0}" -gt "${button_96:-0}" ] || fail "OK button $button_96 px at 96 dpi, $button_144 px at 144 dpi"
figure button_96dpi_px "$button_96"
figure button_144dpi_px "$button_144"
close_meter
