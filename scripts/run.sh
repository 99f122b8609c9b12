#!/usr/bin/env bash
# Builds the meter (only the program, in the Windows tree this host runs) and
# runs it under Wine.
#   scripts/run.sh                      the machine's real battery, on this display
#   scripts/run.sh --battery 57 [--charging] [--mains]
#                                       a simulated battery, for a demonstration
# Without a display it runs in a virtual one, waits for the first poll, writes
# a screenshot of the tray icon and the window, prints its path and stops.
set -euo pipefail
cd "$(dirname "$0")/.."
level= status=Discharging online=0
while [ $# -gt 0 ]; do
    case $1 in
        --battery) level=${2:?--battery needs a level 0..100}; shift ;;
        --charging) status=Charging ;;
        --mains) online=1 ;;
        *) echo "usage: $0 [--battery LEVEL [--charging] [--mains]]" >&2; exit 2 ;;
    esac
    shift
done
case $level in ''|[0-9]|[0-9][0-9]|100) ;; *) echo "run: the level must be 0..100" >&2; exit 2 ;; esac

. scripts/wine-env.sh
if [ -z "${AMPWATCH_RUN_INSIDE:-}" ]; then
    scripts/setup.sh
    scripts/build.sh Ampwatch
    # Wine without address randomisation, as in the tests (tests/e2e/harness.sh says why). The
    # simulated battery lives in a mount namespace of its own, seen by Wine and by nothing else.
    inside=(setarch -R)
    [ -n "$level" ] && inside+=(unshare -m --propagation private)
    AMPWATCH_RUN_INSIDE=1 exec "${inside[@]}" "$0" ${level:+--battery "$level"} \
        $([ $status = Charging ] && echo --charging) $([ $online = 1 ] && echo --mains)
fi
if [ -n "$level" ]; then
    mount -t tmpfs -o size=1m,mode=755 ampwatch-power /sys/class/power_supply
    mkdir -p /sys/class/power_supply/BAT0 /sys/class/power_supply/AC
    b=/sys/class/power_supply/BAT0
    echo Battery >$b/type; echo 1 >$b/present; echo $status >$b/status
    echo 5000000 >$b/charge_full; echo $((level * 50000)) >$b/charge_now
    echo 1000000 >$b/current_now; echo 10000000 >$b/voltage_now
    echo Mains >/sys/class/power_supply/AC/type; echo $online >/sys/class/power_supply/AC/online
    echo "run: simulated battery at $level % ($status), mains online=$online"
elif ! grep -qsx Battery /sys/class/power_supply/*/type; then
    echo "run: this machine has no battery: the meter will show \"?\" and an empty graph;" \
         "for a demonstration: scripts/run.sh --battery 57"
fi

tree=build/$(wine_tree)
run=$(pwd)/build/run
mkdir -p "$run"
cp "$tree/Ampwatch.exe" "$run/Ampwatch.exe"
wine_env_for "$run/Ampwatch.exe"
export WINEPREFIX=$run/wineprefix
wine_prefix_ready "$WINEPREFIX"

if [ -n "${DISPLAY:-}" ]; then
    "$WINE" wineboot >/dev/null 2>&1 </dev/null
    cd "$run" && exec "$WINE" Ampwatch.exe
fi

# No window manager in the virtual display: Wine draws the frames itself.
"$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1 </dev/null || true
"$WINESERVER" -w

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
"$WINE" wineboot >/dev/null 2>&1 </dev/null
# Shown at its first start; later starts begin hidden in the tray.
rm -f "$run/Ampwatch.ini"
(cd "$run" && "$WINE" Ampwatch.exe >"$run/wine.log" 2>&1 </dev/null &)
# Once the window is mapped, a moment for its first poll and painting.
timeout 30 xdotool search --sync --onlyvisible --name "^$(main_caption)\$" >/dev/null ||
    echo "run: no meter window after 30 s" >&2
sleep 1
shot=$run/ampwatch-screenshot.png
import -window root "$shot"
echo "screenshot: $shot"
