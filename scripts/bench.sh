#!/usr/bin/env bash
# Measures the program and prints a table: size and imports; memory, growth over polls, wakes
# while idle and start-up under Wine next to a minimal tray program (bench/baseline_tray.cpp);
# the memory at 144 dpi against 96; the host core's timings. The figures also go to
# results.json. Never fails on a figure, only when something cannot be built or run.
#   scripts/bench.sh [--smoke] [--no-wine] [--trees DIR]
# --smoke      the same path in short form (one start, few polls, seconds of idle), figures
#              printed, none judged; results in build/bench/smoke instead of build/bench.
# --no-wine    leaves out what runs under Wine (about five minutes of the long run).
# --trees DIR  build trees DIR/native, DIR/win32 and DIR/win64 (default build/bench); a tree
#              is configured only when it has no cache, so the test run lends its own.
# BENCH_IDLE_SECONDS (default 130) sets the idle window of the long run.
set -euo pipefail
cd "$(dirname "$0")/.."
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
jobs=$(nproc)
mkdir -p $out
if scripts/can-run-32bit.sh; then run32=ON; else run32=OFF; fi

configure() {  # configure TREE ARGS...: once; later builds follow the CMake files by themselves
    [ -f "$1/CMakeCache.txt" ] || cmake --no-warn-unused-cli -S . -B "$@" >/dev/null
}
echo "bench: building (trees under $trees)"
configure "$trees"/win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
    -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DAMPWATCH_RUN_WINE_TESTS=$run32
configure "$trees"/native -DCMAKE_BUILD_TYPE=Release
cmake --build "$trees"/native --target ampwatch_bench -j"$jobs" >/dev/null
cmake --build "$trees"/win32 --target Ampwatch -j"$jobs" >/dev/null
# Wine runs the Windows tree this host can run: the 32-bit one, else its 64-bit twin.
if [ $wine = 1 ]; then
    if [ $run32 = ON ]; then
        run=$trees/win32 cxx=i686-w64-mingw32-g++
    else
        run=$trees/win64 cxx=x86_64-w64-mingw32-g++
        configure "$run" -DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake
    fi
    cmake --build "$run" --target Ampwatch ampctl -j"$jobs" >/dev/null
    [ $out/baseline_tray.exe -nt bench/baseline_tray.cpp ] ||
        $cxx -Os -Wall -Wextra -fno-exceptions -fno-rtti -mwindows -static -s \
            bench/baseline_tray.cpp -o $out/baseline_tray.exe -lshell32
fi

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
    if [ $smoke = 1 ]; then
        export BENCH_IDLE_SECONDS=5 BENCH_STARTS=1 BENCH_POLLS=20
    fi
    echo "bench: under Wine on $run (the log in $out/wine.log)"
    BENCH_FIGURES=$(realpath $out)/wine.txt BENCH_BASELINE=$(realpath $out/baseline_tray.exe) \
        bash bench/wine_bench.sh "$run"/Ampwatch.exe "$run"/tests/e2e/ampctl.exe "$run"/tests/e2e/PowrProf.dll \
        >$out/wine.log 2>&1 || { tail -n 30 $out/wine.log; echo "bench: the Wine run failed" >&2; exit 1; }
fi

python3 - "$out" "$exe" "$imports_ok" "$smoke" <<'PY'
import json, os, sys
out, exe, imports_ok, smoke = sys.argv[1], sys.argv[2], sys.argv[3] == "true", sys.argv[4] == "1"
size = os.path.getsize(exe)
imports = open(os.path.join(out, "imports.txt")).read().split()
w = {}
for line in open(os.path.join(out, "wine.txt")):
    parts = line.split()
    if len(parts) != 2:
        sys.exit(f"bench: bad figure line {line!r}")
    w[parts[0]] = float(parts[1])
core = json.load(open(os.path.join(out, "core.json")))

rows = []  # figure, value, target, met (None: no target)
def row(name, value, target="", met=None):
    rows.append((name, value, target, met))

row("program size (i686)", f"{size} B", "<= 65536 B", size <= 65536)
row("imported DLLs", ",".join(imports), "system DLLs only", imports_ok)
results = {"smoke": smoke, "program": {"path": exe, "bytes": size, "target_bytes": 65536,
                                       "imports": imports, "only_system_dlls": imports_ok}}
if w:
    polls = int(w["polls"])
    base_rss, base_priv = w["baseline_rss_kib"], w["baseline_private_kib"]
    for when, label in (("start", "after start-up"), ("1poll", "after 1 poll"), ("polls", f"after {polls} polls")):
        rss, priv = w[f"meter_{when}_rss_kib"], w[f"meter_{when}_private_kib"]
        row(f"meter resident {label}", f"{rss:.0f} KiB", f"<= {base_rss + 512:.0f} KiB", rss <= base_rss + 512)
        row(f"meter private {label}", f"{priv:.0f} KiB", f"<= {base_priv + 512:.0f} KiB", priv <= base_priv + 512)
    row("baseline resident / private", f"{base_rss:.0f} / {base_priv:.0f} KiB")
    grow_rss = w["meter_polls_rss_kib"] - w["meter_1poll_rss_kib"]
    grow_priv = w["meter_polls_private_kib"] - w["meter_1poll_private_kib"]
    row(f"growth 1 -> {polls} polls (resident / private)", f"{grow_rss:+.0f} / {grow_priv:+.0f} KiB",
        "no growth", grow_rss <= 0 and grow_priv <= 0)
    row("meter resident at 96 / 144 dpi", f"{w['meter_start_rss_kib']:.0f} / {w['meter_144dpi_rss_kib']:.0f} KiB")
    row("meter private at 96 / 144 dpi",
        f"{w['meter_start_private_kib']:.0f} / {w['meter_144dpi_private_kib']:.0f} KiB")
    row("OK button at 96 / 144 dpi", f"{w['button_96dpi_px']:.0f} / {w['button_144dpi_px']:.0f} px")
    idle, reads = w["idle_seconds"], w["idle_reads"]
    expected = idle // 60
    row(f"idle {idle:.0f} s: status reads", f"{reads:.0f}",
        f"one per poll ({expected:.0f}..{expected + 1:.0f})", expected <= reads <= expected + 1)
    ms, bs, between = w["idle_meter_switches"], w["idle_baseline_switches"], w["idle_meter_switches_between_polls"]
    row(f"idle {idle:.0f} s: voluntary switches meter / baseline", f"{ms:.0f} / {bs:.0f}")
    row(f"idle {idle:.0f} s: meter wakes between polls", f"{between:.0f}", "none", between == 0)
    if reads:
        row("meter switches per poll", f"{(ms - between) / reads:.1f}")
    ratio = w["startup_meter_ms"] / max(w["startup_baseline_ms"], 1)
    row("start-up to tray icon + first poll", f"{w['startup_meter_ms']:.0f} ms")
    row("baseline start-up to tray icon", f"{w['startup_baseline_ms']:.0f} ms")
    row("start-up ratio meter / baseline", f"{ratio:.2f}", "<= 1.20", ratio <= 1.2)
    results["wine"] = dict(w, startup_ratio=ratio)
results["core"] = [{"name": b["name"], "ns_per_op": b["real_time"], "iterations": b["iterations"]}
                   for b in core["benchmarks"]]
host_targets = {"RefreshDecision": 1000, "TrayPicture": 100000, "GraphPaint": 1000000}
ns = {}
for b in results["core"]:
    ns[b["name"]] = b["ns_per_op"]
    limit = host_targets.get(b["name"].split("/")[0])
    if limit is None:
        row(f"host: {b['name']}", f"{b['ns_per_op']:.1f} ns")
    else:
        row(f"host: {b['name']}", f"{b['ns_per_op']:.1f} ns", f"< {limit} ns", b["ns_per_op"] < limit)
if "TrayPicture/16" in ns and "TrayPicture/32" in ns:
    row("host: tray picture 32 x 32 / 16 x 16", f"{ns['TrayPicture/32'] / ns['TrayPicture/16']:.2f}")

if smoke:  # a short run: the figures show that the path runs, not what it costs
    rows = [(n, v, t, None) for n, v, t, _ in rows]
width = max(len(r[0]) for r in rows)
vwidth = max(len(r[1]) for r in rows)
print(f"{'figure':<{width}}  {'value':<{vwidth}}  target")
for name, value, target, met in rows:
    mark = "" if met is None else ("  met" if met else "  MISSED")
    print(f"{name:<{width}}  {value:<{vwidth}}  {target}{mark}")
results["table"] = [{"figure": n, "value": v, "target": t, "met": m} for n, v, t, m in rows]
with open(os.path.join(out, "results.json"), "w") as f:
    json.dump(results, f, indent=2)
print(f"bench: figures in {out}/results.json" + (" (smoke: none judged)" if smoke else ""))
PY
