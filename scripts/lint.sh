#!/usr/bin/env bash
# Static checks of every source: cppcheck and clang-tidy (checks in
# .clang-tidy, cppcheck suppressions in scripts/lint-suppressions.txt). Any
# finding fails. Portable sources are checked with the host build's flags,
# the Win32 shell with the 64-bit cross build's, as that compiler sees them.
#   scripts/lint.sh
set -uo pipefail
cd "$(dirname "$0")/.."
tree=build/lint
jobs=$(nproc)
status=0

cmake -S . -B $tree/native -DCMAKE_EXPORT_COMPILE_COMMANDS=ON >/dev/null || exit 1
cmake --no-warn-unused-cli -S . -B $tree/win64 -DCMAKE_EXPORT_COMPILE_COMMANDS=ON \
      -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null || exit 1

shell=$(ls app/*_win32.cpp power/*_win32.cpp history/*_win32.cpp ui/*_win32.cpp log/*_win32.cpp \
        platform/*.cpp tests/win/*.cpp tests/e2e/ampctl.cpp 2>/dev/null)
portable=$(ls app/*.cpp power/*.cpp history/*.cpp ui/*.cpp log/*.cpp tests/unit/*.cpp \
           tests/fuzz/*.cpp bench/core_bench.cpp 2>/dev/null | grep -v '_win32\.cpp$')

echo "lint: cppcheck"
cppcheck_run() {
    cppcheck --enable=warning,style,performance,portability --std=c++17 --language=c++ \
        --library=googletest --inline-suppr --quiet --error-exitcode=1 -I . \
        --suppressions-list=scripts/lint-suppressions.txt \
        --template='{file}:{line}: {severity} ({id}): {message}' "$@"
}
# shellcheck disable=SC2086
cppcheck_run $portable || status=1
# shellcheck disable=SC2086
cppcheck_run -D_WIN32 --platform=win64 $shell bench/baseline_tray.cpp || status=1

echo "lint: clang-tidy"
tidy_args=()
tidy() {  # tidy COMPILE_DB FILE...; extra clang-tidy arguments in tidy_args
    local db=$1
    shift
    printf '%s\n' "$@" | xargs -P "$jobs" -n 1 clang-tidy -p "$db" --quiet \
        --extra-arg=-Wno-unknown-warning-option "${tidy_args[@]}" 2>/dev/null
}
# shellcheck disable=SC2086
tidy $tree/native $portable >$tree/tidy-native.txt || status=1
# clang does not know where the cross compiler keeps its C++ library headers.
cross_cxx=$(sed -n 's/^ *"command": "\([^ ]*g++[^ ]*\) .*/\1/p' $tree/win64/compile_commands.json | head -n 1)
cross_includes=$(echo | "$cross_cxx" -xc++ -E -v - 2>&1 | sed -n 's|^ \(/.*/include/c++[^ ]*\)$|\1|p')
tidy_args=(--extra-arg=--target=x86_64-w64-mingw32)
for dir in $cross_includes; do
    tidy_args+=("--extra-arg=-isystem$dir")
done
# shellcheck disable=SC2086
tidy $tree/win64 $shell >$tree/tidy-win64.txt || status=1
clang-tidy --quiet bench/baseline_tray.cpp -- --target=x86_64-w64-mingw32 -std=c++17 \
    >$tree/tidy-baseline.txt 2>/dev/null || status=1
cat $tree/tidy-native.txt $tree/tidy-win64.txt $tree/tidy-baseline.txt
findings=$(cat $tree/tidy-*.txt | grep -c ': \(warning\|error\): ' || true)
echo "lint: clang-tidy findings: $findings"

if [ $status -eq 0 ]; then
    echo "lint: clean"
else
    echo "lint: findings above"
fi
exit $status
