#!/usr/bin/env bash
# Builds the libFuzzer targets with clang in build/fuzz and runs each for its
# share of a time budget (seconds, default 150, all targets together). A
# crash, a hang, a leak or a sanitizer report fails the run; what it found is
# kept as build/fuzz/artifacts/<target>-*.
#   scripts/fuzz.sh [BUDGET_SECONDS]
set -euo pipefail
cd "$(dirname "$0")/.."
budget=${1:-150}
tree=build/fuzz
jobs=$(nproc)

if ! command -v clang++ >/dev/null; then
    echo "fuzz: clang++ is missing (scripts/setup.sh installs it)" >&2
    exit 1
fi
CC=clang CXX=clang++ cmake -S . -B $tree -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build $tree --target fuzzers -j"$jobs" >/dev/null
read -r -a targets < <(tr ';' ' ' <$tree/fuzz-targets.txt)
if [ ${#targets[@]} -eq 0 ]; then
    echo "fuzz: no targets" >&2
    exit 1
fi

share=$(( budget / ${#targets[@]} ))
[ $share -ge 1 ] || share=1
mkdir -p $tree/artifacts $tree/logs
status=0
summary=()
for t in "${targets[@]}"; do
    # New inputs go to a scratch corpus; the seeds in the tree stay as they are.
    work=$tree/corpus/$t
    mkdir -p "$work"
    log=$tree/logs/$t.log
    rc=0
    # -timeout: one input running longer than 10 s is a hang.
    timeout $(( share + 60 )) $tree/tests/fuzz/fuzz_$t \
        -max_total_time=$share -timeout=10 -rss_limit_mb=2048 -print_final_stats=1 \
        -artifact_prefix=$tree/artifacts/$t- "$work" tests/fuzz/corpus/$t >"$log" 2>&1 || rc=$?
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -1)
    rate=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -1)
    if [ $rc -eq 0 ]; then
        verdict=ok
    else
        verdict="FAILED (exit $rc, log $log)"
        status=1
        grep -m5 -E 'property failed|ERROR:|runtime error|SUMMARY' "$log" >&2 || tail -20 "$log" >&2
    fi
    summary+=("$(printf '%-12s %10s execs %8s/s  %3s s  %s' "$t" "${execs:-?}" "${rate:-?}" "$share" "$verdict")")
done
echo "fuzz: ${#targets[@]} targets, $share s each"
printf '  %s\n' "${summary[@]}"
if [ $status -eq 0 ]; then
    echo "fuzz: every target ran clean"
else
    echo "fuzz: some targets failed"
fi
exit $status
