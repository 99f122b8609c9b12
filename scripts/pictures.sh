#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the real program under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh Ampwatch ampctl
if [ "$(cat build/run32)" = ON ]; then tree=build/win32; else tree=build/win64; fi
PICTURES_OUT=$(pwd)/docs tests/e2e/run.sh "$tree/Ampwatch.exe" "$tree/tests/e2e/ampctl.exe" \
    tests/e2e/test_pictures.sh
