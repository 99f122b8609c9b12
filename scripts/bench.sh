#!/usr/bin/env bash
# Measures the program and prints a table; the figures also go to
# build/bench/results.json. Never fails on a figure, only when something
# cannot be built or run.
#   scripts/bench.sh [--no-wine]
# --no-wine leaves out the figures that run the program under Wine (memory,
# idle cost, start-up; they take about four minutes). BENCH_IDLE_SECONDS
# (default 130) sets the idle window.
set -euo pipefail
cd "$(dirname "$0")/.."
wine=1
[ "${1:-}" = --no-wine ] && wine=0
out=build/bench
jobs=$(nproc)
mkdir -p $out

echo "bench: building (trees under $out)"
cmake --no-warn-unused-cli -S . -B $out/win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DAMPWATCH_RUN_WINE_TESTS=OFF >/dev/null
cmake --build $out/win32 --target Ampwatch -j"$jobs" >/dev/null
cmake -S . -B $out/native -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build $out/native --target ampwatch_bench -j"$jobs" >/dev/null

exe=$out/win32/Ampwatch.exe
objdump=$(grep -m1 '^CMAKE_OBJDUMP:' $out/win32/CMakeCache.txt | cut -d= -f2)
"$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u >$out/imports.txt
imports_ok=true
tests/check-imports.sh "$objdump" "$exe" >/dev/null || imports_ok=false

echo "bench: host core (Google Benchmark)"
$out/native/bench/ampwatch_bench --benchmark_out=$out/core.json --benchmark_out_format=json \
    >$out/core.txt 2>&1

: >$out/wine.txt
if [ $wine = 1 ]; then
    cmake --no-warn-unused-cli -S . -B $out/win64 -DCMAKE_BUILD_TYPE=MinSizeRel \
          -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
    cmake --build $out/win64 --target Ampwatch ampctl -j"$jobs" >/dev/null
    x86_64-w64-mingw32-g++ -Os -Wall -Wextra -fno-exceptions -fno-rtti -mwindows -static -s \
        bench/baseline_tray.cpp -o $out/baseline_tray.exe -lshell32
    echo "bench: under Wine (about $(( ${BENCH_IDLE_SECONDS:-130} + 90 )) s)"
    BENCH_FIGURES=$(realpath $out)/wine.txt BENCH_BASELINE=$(realpath $out/baseline_tray.exe) \
        tests/e2e/run.sh $out/win64/Ampwatch.exe $out/win64/tests/e2e/ampctl.exe bench/wine_bench.sh \
        >$out/wine.log 2>&1 || { tail -n 30 $out/wine.log; echo "bench: the Wine run failed" >&2; exit 1; }
fi

python3 - "$out" "$exe" "$imports_ok" <<'PY'
import json, os, sys
out, exe, imports_ok = sys.argv[1], sys.argv[2], sys.argv[3] == "true"
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
results = {"program": {"path": exe, "bytes": size, "target_bytes": 65536,
                       "imports": imports, "only_system_dlls": imports_ok}}
if w:
    base_rss, base_priv = w["baseline_rss_kib"], w["baseline_private_kib"]
    for when in ("start", "1poll", "1000poll"):
        rss, priv = w[f"meter_{when}_rss_kib"], w[f"meter_{when}_private_kib"]
        label = {"start": "after start-up", "1poll": "after 1 poll", "1000poll": "after 1000 polls"}[when]
        row(f"meter resident {label}", f"{rss:.0f} KiB", f"<= {base_rss + 512:.0f} KiB", rss <= base_rss + 512)
        row(f"meter private {label}", f"{priv:.0f} KiB", f"<= {base_priv + 512:.0f} KiB", priv <= base_priv + 512)
    row("baseline resident / private", f"{base_rss:.0f} / {base_priv:.0f} KiB")
    grow_rss = w["meter_1000poll_rss_kib"] - w["meter_1poll_rss_kib"]
    grow_priv = w["meter_1000poll_private_kib"] - w["meter_1poll_private_kib"]
    row("growth 1 -> 1000 polls (resident / private)", f"{grow_rss:+.0f} / {grow_priv:+.0f} KiB",
        "no growth", grow_rss <= 0 and grow_priv <= 0)
    row("battery file opens per poll", f"{w['opens_per_poll']:.2f}")
    reads, expected = w["idle_reads"], w["idle_expected_polls"]
    row(f"idle {w['idle_seconds']:.0f} s: battery file opens", f"{w['idle_opens']:.0f}")
    row(f"idle {w['idle_seconds']:.0f} s: status reads", f"{reads:.0f}",
        f"one per poll ({expected:.0f}..{expected + 1:.0f})", expected <= reads <= expected + 1)
    ms, bs = w["idle_meter_switches"], w["idle_baseline_switches"]
    row(f"idle {w['idle_seconds']:.0f} s: voluntary switches meter / baseline", f"{ms:.0f} / {bs:.0f}",
        "within 10 %", ms <= bs * 1.1)
    between = w["idle_meter_switches_between_polls"]
    row(f"idle {w['idle_seconds']:.0f} s: meter switches between polls", f"{between:.0f}", "none", between == 0)
    row("meter switches per poll", f"{(ms - between) / max(reads, 1):.1f}")
    ratio = w["startup_meter_ms"] / max(w["startup_baseline_ms"], 1)
    row("start-up to tray icon + first poll", f"{w['startup_meter_ms']:.0f} ms")
    row("baseline start-up to tray icon", f"{w['startup_baseline_ms']:.0f} ms")
    row("start-up ratio meter / baseline", f"{ratio:.2f}", "<= 1.20", ratio <= 1.2)
    results["wine"] = w
    results["wine"]["startup_ratio"] = ratio
results["core"] = [{"name": b["name"], "ns_per_op": b["real_time"], "iterations": b["iterations"]}
                   for b in core["benchmarks"]]
host_targets = {"RefreshDecision": 1000, "TrayPicture": 100000, "GraphPaint": 1000000}
for b in results["core"]:
    limit = host_targets.get(b["name"])
    if limit is None:
        row(f"host: {b['name']}", f"{b['ns_per_op']:.1f} ns")
    else:
        row(f"host: {b['name']}", f"{b['ns_per_op']:.1f} ns", f"< {limit} ns", b["ns_per_op"] < limit)

width = max(len(r[0]) for r in rows)
vwidth = max(len(r[1]) for r in rows)
print(f"{'figure':<{width}}  {'value':<{vwidth}}  target")
for name, value, target, met in rows:
    mark = "" if met is None else ("  met" if met else "  MISSED")
    print(f"{name:<{width}}  {value:<{vwidth}}  {target}{mark}")
results["table"] = [{"figure": n, "value": v, "target": t, "met": m} for n, v, t, m in rows]
with open(os.path.join(out, "results.json"), "w") as f:
    json.dump(results, f, indent=2)
print(f"bench: figures in {out}/results.json")
PY
