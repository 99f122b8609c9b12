#!/usr/bin/env bash
# Measures the program and prints a table: size and imports; memory, growth over polls, wakes
# while idle and start-up under Wine next to the design's floor (bench/floor_tray.cpp: the same
# dialog, controls, manifest and a tray icon, no logic), judged against it, and a minimal tray
# program (bench/baseline_tray.cpp); meter and floor again at 144 dpi; the host core's timings.
# After each start of Wine's server a throwaway floor pays Wine's one-off start, so the order in
# which the programs start decides nothing. The figures also go to results.json
# (bench/report.py). Never fails on a figure, only when something cannot be built or run, or
# when the soak run (bench/soak.sh: polls while the battery changes all the time, then the
# memory, history and icon against a fresh meter's) fails.
#   scripts/bench.sh [--smoke] [--no-wine] [--trees DIR]
# --smoke      the same path in short form (one start, few polls, seconds of idle, a short
#              soak), figures printed, none judged; results in build/bench/smoke.
# --no-wine    leaves out what runs under Wine (about five minutes of the long run).
# --trees DIR  the build trees under DIR (default build/bench), built by scripts/build.sh --bench;
#              a test run lends its own (build).
# BENCH_IDLE_SECONDS (default 130) sets the idle window of the long run, AMPWATCH_SOAK_TICKS
# (default 2000, 300 in --smoke) the soak's polls.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
smoke=0 wine=1 trees=build/bench
while [ $# -gt 0 ]; do
    case $1 in
        --smoke) smoke=1 ;;
        --no-wine) wine=0 ;;
        --trees) trees=${2:?--trees needs a folder}; shift ;;
        *) echo "usage: scripts/bench.sh [--smoke] [--no-wine] [--trees DIR]" >&2; exit 2 ;;
    esac
    shift
done
out=build/bench
[ $smoke = 1 ] && out=build/bench/smoke
mkdir -p $out
echo "bench: building (trees under $trees)"
scripts/build.sh --dir "$trees" --bench >/dev/null
run=$trees/$(wine_tree)  # the Windows tree Wine runs here

exe=$trees/win32/Ampwatch.exe
objdump=$(grep -m1 '^CMAKE_OBJDUMP:' "$trees"/win32/CMakeCache.txt | cut -d= -f2)
"$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u >$out/imports.txt
imports_ok=true
tests/check-imports.sh "$objdump" "$exe" >/dev/null || imports_ok=false

echo "bench: host core (Google Benchmark)"
min_time=()
[ $smoke = 1 ] && min_time=(--benchmark_min_time=0.01)
"$trees"/native/bench/ampwatch_bench "${min_time[@]}" --benchmark_out=$out/core.json \
    --benchmark_out_format=json >$out/core.txt 2>&1 || { cat $out/core.txt; exit 1; }

: >$out/wine.txt
if [ $wine = 1 ]; then
    ticks=${AMPWATCH_SOAK_TICKS:-2000}
    if [ $smoke = 1 ]; then
        export BENCH_IDLE_SECONDS=5 BENCH_STARTS=1 BENCH_POLLS=20
        ticks=${AMPWATCH_SOAK_TICKS:-300}
    fi
    programs=("$run"/Ampwatch.exe "$run"/tests/e2e/ampctl.exe "$run"/tests/e2e/PowrProf.dll)
    echo "bench: under Wine on $run (the log in $out/wine.log)"
    BENCH_FIGURES=$(realpath $out)/wine.txt BENCH_BASELINE=$(realpath "$run"/baseline_tray.exe) \
        BENCH_FLOOR=$(realpath "$run"/floor_tray.exe) \
        bash bench/wine_bench.sh "${programs[@]}" >$out/wine.log 2>&1 ||
        { tail -n 30 $out/wine.log; echo "bench: the Wine run failed" >&2; exit 1; }
    echo "bench: soak, $ticks polls (the log in $out/soak.log)"
    AMPWATCH_SOAK_TICKS=$ticks bash bench/soak.sh "${programs[@]}" >$out/soak.log 2>&1 ||
        { tail -n 30 $out/soak.log; echo "bench: the soak run failed" >&2; exit 1; }
    echo "soak_polls $ticks" >>$out/wine.txt
fi

python3 bench/report.py "$out" "$exe" "$imports_ok" "$smoke"
