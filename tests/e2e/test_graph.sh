#!/usr/bin/env bash
# The graph in the shown dialog, read back from screenshots: grid, history
# line and the details overlay.
. "$(dirname "$0")/harness.sh"

HIST=$APP/Ampwatch.dat
GRID="0,128,0" LINE="0,255,0" BLACK="0,0,0"

# pixel FILE X Y: "r,g,b" of one screen pixel.
pixel() {
    convert "$1" -format "%[fx:int(255*p{$2,$3}.r+0.5)],%[fx:int(255*p{$2,$3}.g+0.5)],%[fx:int(255*p{$2,$3}.b+0.5)]" info:
}
# yellow_in FILE W H X Y: yellow (text) pixels in a rectangle.
yellow_in() { convert "$1" -crop "$2x$3+$4+$5" +repage txt:- | grep -c '#FFFF00'; }

# 40 samples at 60 %, the rest gaps.
{ for i in $(seq 40); do printf '\x3c'; done; for i in $(seq 216); do printf '\xff'; done; } >"$HIST"
printf '[Settings]\r\nRunHidden=0\r\n' >"$INI"
battery 60 Discharging
start_meter
sync_meter
read -r gx gy gw gh < <(ctl rect 1001)
log "graph control at $gx,$gy size ${gw}x$gh"
assert_eq 1 "$(( (gw - 1) % 10 == 0 && (gh - 1) % 4 == 0 ))" "the control is fitted to 10k+1 x 4m+1"
shot=$(screenshot graph) || fail "no screenshot"
right=$((gx + gw)) bottom=$((gy + gh))
sx=$(( (gw) / 10 )) sy=$(( (gh) / 4 ))
# The grid: every division line, and black between them.
for k in 0 1 5 10; do
    assert_eq "$GRID" "$(pixel "$shot" $((gx + k * sx)) $((gy + sy / 2)))" "vertical grid line $k"
done
for k in 0 1 2 3 4; do
    assert_eq "$GRID" "$(pixel "$shot" $((gx + sx / 2)) $((gy + k * sy)))" "horizontal grid line $k"
done
assert_eq "$BLACK" "$(pixel "$shot" $((gx + sx / 2)) $((gy + sy / 2)))" "inside a division"
# The line: 41 samples at 60 % (the 40 loaded and the start-up poll) run
# leftwards at two pixels each, then the gaps end it.
y60=$((gy + 40 * gh / 100))
for dx in 3 20 70; do
    assert_eq "$LINE" "$(pixel "$shot" $((right - dx)) "$y60")" "history line $dx pixels left of the edge"
done
assert_eq "$BLACK" "$(pixel "$shot" $((right - 90)) "$y60")" "no line beyond the oldest sample"
assert_eq 0 "$(yellow_in "$shot" 24 12 "$gx" "$gy")" "no scale text without details"

# F4 shows the overlay, F4 again hides it.
press F4
shot=$(screenshot details) || fail "no screenshot"
[ "$(yellow_in "$shot" 24 12 "$gx" "$gy")" -gt 5 ] || fail "F4 shows no \"100%\" at the top left"
log "ok: F4 shows the overlay"
press F4
shot=$(screenshot no-details) || fail "no screenshot"
assert_eq 0 "$(yellow_in "$shot" 24 12 "$gx" "$gy")" "F4 again hides the overlay"

# Holding the button shows the overlay; the release's click turns it on.
xdotool mousemove $((gx + gw / 4)) $((gy + gh - 3)) sleep 0.1 mousedown 1 sleep 0.3
shot=$(screenshot pressed) || fail "no screenshot"
[ "$(yellow_in "$shot" 24 12 "$gx" "$gy")" -gt 5 ] || fail "no overlay while the graph is held"
log "ok: overlay while the button is held"
xdotool mouseup 1 sleep 0.3
sync_meter
shot=$(screenshot released) || fail "no screenshot"
[ "$(yellow_in "$shot" 24 12 "$gx" "$gy")" -gt 5 ] || fail "the click of the release did not keep the overlay"
log "ok: the release's click keeps the overlay on"
close_meter
