#!/usr/bin/env bash
# Makes the README's pictures in docs/ from the real program under Wine: the
# tray icon in its states and the window with its graph, in English and German.
# It runs like an end-to-end scenario (tests/e2e/harness.sh), in a namespace,
# prefix and display of its own.
if [ -z "${PICTURES_OUT:-}" ]; then
    set -euo pipefail
    cd "$(dirname "$0")/.."
    scripts/setup.sh
    scripts/build.sh Ampwatch ampctl
    . scripts/wine-env.sh
    tree=build/$(wine_tree)
    export PICTURES_OUT=$PWD/docs
    # The harness asks for a library to plant; the pictures plant none.
    exec bash "$PWD/scripts/pictures.sh" "$tree/Ampwatch.exe" "$tree/tests/e2e/ampctl.exe" \
        "$tree/tests/e2e/PowrProf.dll"
fi
. "$(dirname "$0")/../tests/e2e/harness.sh"
OUT=$PICTURES_OUT

tray() {  # tray NAME: the icon slot of Wine's tray window, enlarged four times
    readd_tray
    convert "$(shot "tray-$1")" -crop 20x20+3+23 +repage -filter point -resize 400% "$OUT/tray-$1.png" ||
        fail "cannot cut the tray icon"
    log "wrote $OUT/tray-$1.png"
}
window() {  # window NAME: the main window with its frame
    local X Y WIDTH HEIGHT WINDOW SCREEN
    eval "$(xdotool search --onlyvisible --name "^$CAP\$" getwindowgeometry --shell | head -n 6)"
    convert "$(shot "window-$1")" -crop "${WIDTH}x$HEIGHT+$X+$Y" +repage "$OUT/window-$1.png" ||
        fail "cannot cut the window"
    log "wrote $OUT/window-$1.png"
}

# A discharging afternoon: 120 samples falling from 90 % to 57 %, newest first.
{ for i in $(seq 0 119); do printf "\\x$(printf %02x $((57 + i * 33 / 119)))"; done
  for i in $(seq 136); do printf '\xff'; done; } >"$SCRATCH/history.dat"
printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n' >"$INI"
# A dark taskbar, as Windows has by default: white digits.
"$WINE" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
    /v SystemUsesLightTheme /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
no_battery
start_meter
tray_up
tray no-battery
battery 57; poll; tray 57-discharging
battery 7; poll; tray 7-critical
battery 40 Charging; mains 1; poll; tray charging
battery 100 Full; poll; tray 100-mains
close_meter

battery 57; mains 0
for lang in en de; do
    printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
    cp "$SCRATCH/history.dat" "$HIST"
    if [ $lang = de ]; then start_meter LC_ALL=de_DE.UTF-8; else start_meter; fi
    ctl post tray 0x201
    wait_for 5 eval '[ "$(state visible)" = 1 ]' || fail "the window did not show"
    window "$lang"
    press F4
    window "$lang-details"
    if [ $lang = en ]; then  # Tab from OK reaches the graph: its focus shows as on a button
        press F4 shift+Tab shift+Tab shift+Tab
        window "$lang-focus"
    fi
    close_meter
done

# At 150 and 200 % display scale (Wine reads LogPixels when its server starts): the tray
# picture drawn for its larger slot, enlarged like the others, and the window.
for scale in 150 200; do
    dpi=$((96 * scale / 100)) n=$((16 * scale / 100))
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 </dev/null
    "$WINESERVER" -k; "$WINESERVER" -w; "$WINE" wineboot >>"$SCRATCH/wineboot.out" 2>&1 </dev/null
    printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
    cp "$SCRATCH/history.dat" "$HIST"
    start_meter
    tray_up; readd_tray; s=$(shot "tray-$scale")
    # The slot is the top left of the tray's dark inside.
    IFS='x+' read -r _ _ x y <<<"$(convert "$s" -crop 400x120+0+0 +repage -fill black +opaque '#000080' -format %@ info:)"
    convert "$s" -crop "$((n + 4))x$((n + 4))+$x+$y" +repage -filter point -resize 400% \
        "$OUT/tray-57-$scale.png" || fail "cannot cut the tray icon"
    log "wrote $OUT/tray-57-$scale.png"
    if [ $scale = 150 ]; then
        ctl post tray 0x201
        wait_for 5 eval '[ "$(state visible)" = 1 ]' || fail "the window did not show"
        window "en-$scale"
    fi
    close_meter
done

