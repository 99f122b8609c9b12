#!/usr/bin/env bash
# Configures and builds the three trees: native core and tests, the 32-bit
# program, and its 64-bit twin for hosts that cannot run 32-bit code.
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
if scripts/can-run-32bit.sh; then run32=ON; else run32=OFF; fi
cmake -S . -B build/native -DCMAKE_BUILD_TYPE=Debug >/dev/null
cmake -S . -B build/win32 -DCMAKE_BUILD_TYPE=MinSizeRel \
      -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-i686-w64-mingw32.cmake -DAMPWATCH_RUN_WINE_TESTS=$run32 >/dev/null
cmake --build build/native -j"$jobs"
cmake --build build/win32 -j"$jobs"
if [ $run32 = OFF ]; then
    cmake -S . -B build/win64 -DCMAKE_BUILD_TYPE=MinSizeRel \
          -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-x86_64-w64-mingw32.cmake >/dev/null
    cmake --build build/win64 -j"$jobs"
fi
echo "$run32" >build/run32
