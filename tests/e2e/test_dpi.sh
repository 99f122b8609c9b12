#!/usr/bin/env bash
# At 125, 150 and 200 % scale (LogPixels, read when Wine's server starts): the tray picture fills its larger
# slot in the icon's colours only, the graph is fitted to its grid; at 200 % its details read in English and German.
. "$(dirname "$0")/harness.sh"
"$WINE" reg add 'HKCU\Software\Microsoft\Windows\CurrentVersion\Themes\Personalize' \
    /v SystemUsesLightTheme /t REG_DWORD /d 0 /f >/dev/null 2>&1 </dev/null
for run in 120 144 "192 8" "192 4 LC_ALL=de_AT.UTF-8"; do  # 8xx and 4xx: the English and German strings
    read -r dpi t lc <<<"$run"; battery 57; n=$((dpi / 6))  # the small-icon size: 16 at 96 dpi
    "$WINE" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d $dpi /f >/dev/null 2>&1 </dev/null
    "$WINESERVER" -k; "$WINESERVER" -w; "$WINE" wineboot >>"$SCRATCH/wineboot.out" 2>&1 </dev/null
    printf '[Settings]\r\nRunHidden=0\r\n' >"$INI"
    start_meter $lc
    tray_up; readd_tray; s=$(shot dpi$dpi)
    # The picture: what is not the tray's dark background inside it.
    area=$(convert "$s" -crop 400x120+0+0 +repage -fill black +opaque '#000080' -format %@ info:)
    IFS='x+' read -r w h x y <<<"$area"
    box=$(convert "$s" -crop "$area" +repage -fill black -opaque '#000080' -format %@ info:)
    box=$(IFS='x+' read -r bw bh bx by <<<"$box"; echo "${bw}x$bh+$((bx + x))+$((by + y))")
    IFS='x+' read -r w h x y <<<"$box"
    pixels=$(convert "$s" -crop "$box" +repage txt:- | sed 1d | tr -s ' ,:()' ' ')
    # Wine paints a new tray picture over the slot without clearing it: black is what it leaves.
    colours=$(cut -d' ' -f6 <<<"$pixels" | grep -vx -e '#000080' -e '#000000' | sort -u | xargs)
    fill=$(awk '$6 == "#00FF00" {print $2}' <<<"$pixels" | sort -n | head -n1)
    digits=$(awk -v f="$fill" '$6 == "#FFFFFF" && $2 < f - 2 {print $1}' <<<"$pixels" | sort -u | wc -l)
    log "$dpi dpi: picture $box, colours $colours, fill from row $fill, digits over $digits columns"
    assert_eq "#00FF00 #FFFFFF 1 1 1" "$colours $((5 * w >= 4 * n && 4 * h >= 3 * n)) \
$((16 * fill >= 10 * h)) $((10 * digits >= 6 * n))" "$dpi dpi: the picture fills its slot of $n pixels: the \
battery at the bottom, the digits across, no other colour"
    read -r gx gy gw gh < <(ctl rect graph)
    assert_eq "0 0 1" "$(((gw - 1) % 10)) $(((gh - 1) % 4)) $((gw * 96 > 180 * dpi))" "$dpi dpi: the graph fitted, scaled"
    if [ -n "$t" ]; then  # the details (F4) as a person reads them, in the meter's language
        battery 70; poll; press F4; IFS='|' read -r off _ _ high <<<"$(strings ${t}08 ${t}11)"
        reads graph "100% 50% 0% $((gw / 20)) min/div dt: 1 min 3:30 h $high $off 70%" "$dpi dpi${lc:+ $lc}: the details \
read: the scale, $((gw / 20)) min a division, a minute a poll, 3:30 h left of 70 %, $high, $off"
    fi
    close_meter
done
