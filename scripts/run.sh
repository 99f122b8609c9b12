#!/usr/bin/env bash
# Builds the meter and runs it under Wine. Without a display it runs in a
# virtual one for a few seconds and leaves a screenshot whose path it prints.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh
scripts/build.sh
if [ "$(cat build/run32)" = ON ]; then exe=build/win32/Ampwatch.exe; else exe=build/win64/Ampwatch.exe; fi
run=$(pwd)/build/run
mkdir -p "$run"
cp "$exe" "$run/Ampwatch.exe"
. tests/wine-env.sh
wine_env_for "$run/Ampwatch.exe"
export WINEPREFIX=$run/wineprefix
wine_prefix_ready "$WINEPREFIX"
"$WINE" wineboot >/dev/null 2>&1 </dev/null

if [ -n "${DISPLAY:-}" ]; then
    cd "$run" && exec "$WINE" Ampwatch.exe
fi

xvfb_pid=
cleanup() {
    "$WINESERVER" -k 2>/dev/null || true
    "$WINESERVER" -w 2>/dev/null || true
    [ -n "$xvfb_pid" ] && kill "$xvfb_pid" 2>/dev/null || true
}
trap cleanup EXIT
Xvfb -displayfd 5 -screen 0 1024x768x24 -nolisten tcp 5>"$run/display" 2>/dev/null &
xvfb_pid=$!
for _ in $(seq 50); do [ -s "$run/display" ] && break; sleep 0.1; done
export DISPLAY=:$(head -n1 "$run/display")
# Shown at its first start; later starts begin hidden in the tray.
rm -f "$run/Ampwatch.ini"
(cd "$run" && "$WINE" Ampwatch.exe >"$run/wine.log" 2>&1 </dev/null &)
for _ in $(seq 100); do
    xwininfo -root -tree 2>/dev/null | grep -q '"Battery Meter"' && break
    sleep 0.2
done
sleep 2
shot=$run/ampwatch-screenshot.png
import -window root "$shot"
echo "screenshot: $shot"
