#!/usr/bin/env bash
# Builds everything and runs every test: native (with sanitizers), the
# end-to-end scenarios under Wine, the fuzz targets, the static checks and the
# benchmark in short form on the trees just built (it fails only when it cannot run
# or when its short soak run fails). The one test command; .ci/run runs it.
set -euo pipefail
cd "$(dirname "$0")/.."
. scripts/wine-env.sh
scripts/setup.sh
scripts/build.sh
start=$(date +%s)
status=0
(cd build/native && ctest --output-on-failure -j2) || status=1
# The fuzz targets take one core for a minute beside the scenarios, which mostly wait for the program.
scripts/fuzz.sh 60 >build/fuzz.log 2>&1 &
fuzz=$!
(cd build/win32 && ctest --output-on-failure -j2) || status=1
if [ "$(wine_tree)" = win64 ]; then
    echo "test: this host cannot run 32-bit programs; the Wine tests run on the 64-bit build"
    (cd build/win64 && ctest --output-on-failure -j2) || status=1
fi
wait $fuzz || status=1
cat build/fuzz.log
scripts/lint.sh || status=1
scripts/bench.sh --smoke --trees build || status=1
echo "test: ran in $(( $(date +%s) - start )) s, size of the program: $(stat -c %s build/win32/Ampwatch.exe) bytes"
exit $status
