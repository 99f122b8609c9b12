#!/usr/bin/env bash
# Configures and builds the trees: the native core with its tests, the 32-bit program, and its
# 64-bit twin where this host cannot run 32-bit code (wine_tree of scripts/wine-env.sh chooses).
#   scripts/build.sh [--dir DIR] [--bench] [TARGET...]
#   (no TARGET)   every tree, every target
#   TARGET...     only these targets of the Windows tree Wine runs here
#   --dir DIR     the trees under DIR instead of build/
#   --bench       only what scripts/bench.sh runs: the host benchmark (a native tree made here is a
#                 Release one), the program and control tool, the design floor (bench/floor_tray.cpp),
#                 the minimal tray program (bench/baseline_tray.cpp) as DIR/TREE/baseline_tray.exe
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
dir=build bench=0
while [ $# -gt 0 ]; do
    case $1 in
        --dir) dir=${2:?--dir needs a folder}; shift ;;
        --bench) bench=1 ;;
        -*) echo "usage: scripts/build.sh [--dir DIR] [--bench] [TARGET...]" >&2; exit 2 ;;
        *) break ;;
    esac
    shift
done
jobs=$(nproc)
run=$(wine_tree)
configure() {  # configure TREE: a native tree keeps the build type it was made with
    local args=(-DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake)
    case $1 in
        native) args=(); [ -f "$dir/native/CMakeCache.txt" ] ||
            args=(-DCMAKE_BUILD_TYPE="$([ $bench = 1 ] && echo Release || echo Debug)") ;;
        win32) args=(-DCMAKE_BUILD_TYPE=MinSizeRel -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake
            -DAMPWATCH_RUN_WINE_TESTS="$([ $run = win32 ] && echo ON || echo OFF)") ;;
    esac
    cmake --no-warn-unused-cli -S . -B "$dir/$1" "${args[@]}" >/dev/null
}
build() {  # build TREE [TARGET...]: without targets all of them
    configure "$1"
    if [ $# -gt 1 ]; then cmake --build "$dir/$1" -j"$jobs" --target "${@:2}"; else cmake --build "$dir/$1" -j"$jobs"; fi
}
if [ $# -gt 0 ]; then
    build "$run" "$@"
elif [ $bench = 1 ]; then
    build native ampwatch_bench
    [ $run = win32 ] || build win32 Ampwatch  # the shipped program's size and imports
    build "$run" Ampwatch ampctl floor_tray
    cxx=x86_64-w64-mingw32-g++
    [ $run = win32 ] && cxx=i686-w64-mingw32-g++
    [ "$dir/$run/baseline_tray.exe" -nt bench/baseline_tray.cpp ] ||
        $cxx -Os -Wall -Wextra -fno-exceptions -fno-rtti -mwindows -static -s \
            bench/baseline_tray.cpp -o "$dir/$run/baseline_tray.exe" -lshell32
else
    build native
    build win32
    [ $run = win32 ] || build win64
fi
