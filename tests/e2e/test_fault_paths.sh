#!/usr/bin/env bash
# The program in awkward folders: a path of exactly 259 characters and a folder
# name with Western European letters. Its files must land beside it.
. "$(dirname "$0")/harness.sh"

# run_in DIR: starts the meter copied into DIR, closes it, checks its files.
run_in() {
    local dir=$1 what=$2
    mkdir -p "$dir"
    cp "$APP/Ampwatch.exe" "$dir/Ampwatch.exe"
    E2E_METER_COUNT=$((E2E_METER_COUNT + 1))
    (cd "$dir" && exec env LC_ALL=C.UTF-8 "$WINE" "$dir/Ampwatch.exe" \
        >"$SCRATCH/meter.$E2E_METER_COUNT.out" 2>&1 </dev/null) &
    METER_PID=$!
    ctl wait-main 20000 >/dev/null || fail "$what: no main window"
    sync_meter
    ctl post command 40002 >/dev/null
    close_meter
    assert_eq "Ampwatch.dat Ampwatch.exe Ampwatch.ini" "$(ls "$dir" | sort | tr '\n' ' ' | sed 's/ $//')" \
        "$what: files beside the program"
    assert_eq 1 "$(ini_value_in "$dir/Ampwatch.ini" RunHidden)" "$what: settings written"
    assert_eq 256 "$(stat -c %s "$dir/Ampwatch.dat")" "$what: history written"
}
ini_value_in() { tr -d '\r' <"$1" | sed -n "s/^$2=//p" | head -n1; }

# "Z:" + the folder + "\Ampwatch.exe" is exactly 259 characters.
base=$SCRATCH/long
need=$((259 - 2 - ${#base} - 13))
[ "$need" -gt 2 ] || fail "scratch folder too deep for this test"
long=$base
while [ "$need" -gt 0 ]; do
    part=$(( need > 60 ? 60 : need ))
    [ "$part" -lt 2 ] && part=2
    name=$(printf 'd%.0s' $(seq $((part - 1))))
    long=$long/$name
    need=$((need - part))
done
wlen=$(( 2 + ${#long} + 13 ))
[ "$wlen" = 259 ] || fail "built a path of $wlen characters, not 259"
run_in "$long" "259-character path"

run_in "$SCRATCH/Gerät für Überwachung" "folder with umlauts"
