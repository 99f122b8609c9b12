#!/usr/bin/env bash
# German user language (any German sub-language) gives the German dialog and
# alert; every other language gives English.
. "$(dirname "$0")/harness.sh"

check_texts() {  # check_texts WHAT OK APPLY ICON
    assert_eq "$2" "$(ctl text 1)" "$1: OK button"
    assert_eq "$3" "$(ctl text 1003)" "$1: Apply button"
    assert_eq "$4" "$(ctl text 1004)" "$1: icon button"
}

battery 9 Discharging
start_meter LC_ALL=de_DE.UTF-8
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "German: no alert box"
assert_eq "Warnung: Der Batteriestand hat den festgelegten Mindestwert erreicht!" "$text" \
    "German alert text"
check_texts German "&OK" "&Anwenden" "&Symbol..."
screenshot german >/dev/null
ctl answer "$E2E_CAPTION" 1 >/dev/null || fail "cannot answer the German alert"
close_meter

battery 50
start_meter LC_ALL=de_AT.UTF-8
sync_meter
check_texts "Austrian German" "&OK" "&Anwenden" "&Symbol..."
close_meter

battery 9
start_meter LC_ALL=fr_FR.UTF-8
text=$(ctl wait-box "$E2E_CAPTION" 10000) || fail "French: no alert box"
assert_eq "Warning: The battery level has reached the configured lower limit!" "$text" \
    "French user gets the English alert"
check_texts French "&OK" "&Apply" "&Icon..."
ctl answer "$E2E_CAPTION" 1 >/dev/null || fail "cannot answer the English alert"
close_meter
