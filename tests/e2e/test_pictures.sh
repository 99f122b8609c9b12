#!/usr/bin/env bash
# The pictures of the README, taken from the real program: the tray icon in
# its states and the window with its graph, in English and German.
# PICTURES_OUT names the folder (scripts/pictures.sh: docs/); by default the
# pictures stay in the scratch folder and only their making is checked.
. "$(dirname "$0")/harness.sh"

OUT=${PICTURES_OUT:-$SCRATCH/pictures}
mkdir -p "$OUT"
HIST=$APP/Ampwatch.dat

# tray NAME: the icon slot of Wine's tray window, enlarged four times.
tray() {
    local shot
    readd_tray_icon
    shot=$(screenshot "tray-$1") || fail "no screenshot"
    convert "$shot" -crop 20x20+2+22 +repage -filter point -resize 400% "$OUT/tray-$1.png" ||
        fail "cannot cut the tray icon"
    log "wrote $OUT/tray-$1.png"
}
# window NAME: the main window.
window() {
    local shot x y w h
    shot=$(screenshot "window-$1") || fail "no screenshot"
    read -r x y w h < <(ctl rect 0) || fail "no window rectangle"
    convert "$shot" -crop "${w}x$h+$x+$y" +repage "$OUT/window-$1.png" || fail "cannot cut the window"
    log "wrote $OUT/window-$1.png"
}

# A discharging afternoon: 120 samples falling from 90 % to 57 %, newest first.
{ for i in $(seq 0 119); do printf "\\x$(printf %02x $((57 + i * 33 / 119)))"; done
  for i in $(seq 136); do printf '\xff'; done; } >"$HIST"
printf '[Settings]\r\nRunHidden=1\r\nAlertThreshold=255\r\n' >"$INI"
cp "$HIST" "$SCRATCH/history.dat"

no_battery
start_meter
sync_meter
wait_for 10 tray_shown || fail "no tray"
tray no-battery
battery 57 Discharging
mains 0
poll
tray 57-discharging
battery 7
poll
tray 7-critical
battery 40 Charging
mains 1
poll
tray charging
battery 100 Full
poll
tray 100-mains
close_meter

printf '[Settings]\r\nRunHidden=1\r\n' >"$INI"
for lang in en de; do
    cp "$SCRATCH/history.dat" "$HIST"
    battery 57 Discharging
    mains 0
    if [ $lang = de ]; then start_meter LC_ALL=de_DE.UTF-8; else start_meter; fi
    sync_meter
    ctl post tray 0x201 >/dev/null
    sync_meter
    window "$lang"
    press F4
    window "$lang-details"
    press F4
    close_meter
done

for f in tray-no-battery tray-57-discharging tray-7-critical tray-charging tray-100-mains \
         window-en window-en-details window-de window-de-details; do
    [ -s "$OUT/$f.png" ] || fail "$f.png missing"
done
assert_eq "80x80" "$(identify -format '%wx%h' "$OUT/tray-57-discharging.png")" "size of a tray picture"
cmp -s "$OUT/window-en.png" "$OUT/window-en-details.png" && fail "the details picture shows no details"
log "ok: all pictures made"
