#!/usr/bin/env bash
# Configures and builds the three trees: native core and tests, the 32-bit
# program, and its 64-bit twin for hosts that cannot run 32-bit code.
#   scripts/build.sh              all of them
#   scripts/build.sh TARGET...    only these targets of the Windows tree this
#                                 host runs (build/win32, else build/win64)
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
if scripts/can-run-32bit.sh; then run32=ON; else run32=OFF; fi
mkdir -p build
echo "$run32" >build/run32
configure_win32() {
    cmake --no-warn-unused-cli -S . -B build/win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
          -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DAMPWATCH_RUN_WINE_TESTS=$run32 >/dev/null
}
configure_win64() {
    cmake --no-warn-unused-cli -S . -B build/win64 -DCMAKE_BUILD_TYPE=MinSizeRel \
          -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
}
if [ $# -gt 0 ]; then
    if [ $run32 = ON ]; then tree=win32; else tree=win64; fi
    configure_$tree
    cmake --build build/$tree -j"$jobs" --target "$@"
    exit
fi
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
configure_win32
cmake --build build/native -j"$jobs"
cmake --build build/win32 -j"$jobs"
if [ $run32 = OFF ]; then
    configure_win64
    cmake --build build/win64 -j"$jobs"
fi
