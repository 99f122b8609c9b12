# End-to-end harness for the meter, sourced by every tests/e2e/test_*.sh.
#
# Usage: ctest -R e2e_ (from build/win64), or by hand:
#   tests/e2e/run.sh build/win64/Ampwatch.exe build/win64/tests/e2e/ampctl.exe tests/e2e/test_start.sh
# run.sh re-executes itself in a private mount namespace and runs the scenario,
# which sources this file. Each scenario gets:
#   - a scratch folder <dir of ampctl>/scratch/<scenario> (wiped at start) with
#     app/Ampwatch.exe (its INI, history and log land beside it), the meter's
#     and ampctl's output files, trace.log and screenshots in shots/;
#   - a copy-on-write view (overlayfs) of the build tree's template Wine prefix,
#     so its wineserver and registry are its own;
#   - its own Xvfb display;
#   - a simulated battery (tmpfs over /sys/class/power_supply, read by Wine on
#     every power status query): battery LEVEL STATUS, mains 0|1, no_battery.
# Helpers: start_meter [VAR=value...], ctl ARGS (ampctl under Wine, output
# echoed), poll, wait_for SECONDS COMMAND..., wait_meter_exit, close_meter,
# screenshot NAME, assert_eq / assert_contains / assert_rc / fail, ini_value.
# On exit everything the scenario started is ended: the prefix's wineserver
# (and with it every Wine process of the prefix), Xvfb, the mounts.
# Texts from ampctl are CP1252 bytes; compare with printf '\xe4'-style escapes.
# Set E2E_KEEP=1 to keep the scratch folder's prefix overlay contents.

set -u
E2E_HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
. "$E2E_HERE/../../scripts/wine-env.sh"

E2E_NAME=$(basename "$E2E_SCRIPT" .sh)
E2E_ROOT=$(dirname "$E2E_CTL")
E2E_TEMPLATE=$E2E_ROOT/wineprefix-template
SCRATCH=$E2E_ROOT/scratch/$E2E_NAME
APP=$SCRATCH/app
INI=$APP/Ampwatch.ini
POWER=/sys/class/power_supply
E2E_CAPTION="Battery Meter"
E2E_XVFB_PID=
E2E_MOUNTS=()
METER_PID=
METER_RC=
E2E_METER_COUNT=0
E2E_START=$SECONDS
E2E_FAILED=0

log() { printf '[%s %3ds] %s\n' "$E2E_NAME" "$((SECONDS - E2E_START))" "$*" | tee -a "$SCRATCH/trace.log"; }

fail() {
    log "FAIL: $*"
    if [ -n "${METER_PID:-}" ]; then
        if kill -0 "$METER_PID" 2>/dev/null; then log "the meter (pid $METER_PID) still runs"
        else log "the meter (pid $METER_PID) has ended"; fi
    fi
    E2E_FAILED=1
    screenshot failure >/dev/null 2>&1
    exit 1
}

e2e_cleanup() {
    local rc=$?
    trap - EXIT
    [ "$E2E_FAILED" = 1 ] && rc=1
    if [ -n "${WINEPREFIX:-}" ] && mountpoint -q "$WINEPREFIX"; then
        "$WINESERVER" -k >/dev/null 2>&1
        "$WINESERVER" -w >/dev/null 2>&1
    fi
    [ -n "$METER_PID" ] && wait "$METER_PID" 2>/dev/null
    if [ -n "$E2E_XVFB_PID" ]; then
        kill "$E2E_XVFB_PID" 2>/dev/null
        wait "$E2E_XVFB_PID" 2>/dev/null
    fi
    local i
    for ((i = ${#E2E_MOUNTS[@]} - 1; i >= 0; i--)); do
        umount "${E2E_MOUNTS[i]}" 2>/dev/null || umount -l "${E2E_MOUNTS[i]}"
    done
    if [ "$rc" = 0 ]; then
        log "PASS ($((SECONDS - E2E_START)) s)"
        [ -n "${E2E_KEEP:-}" ] || rm -rf "$SCRATCH/upper" "$SCRATCH/work"
    else
        log "FAILED with $rc; meter output, trace and screenshots in $SCRATCH"
        local f
        for f in "$SCRATCH"/meter.*.out; do
            [ -s "$f" ] && { echo "--- $f"; tail -n 20 "$f"; }
        done
    fi
    exit "$rc"
}

# --- set-up -----------------------------------------------------------------

# Without a window manager, Wine would wait about a second for every hide or
# destroy of a managed window; unmanaged windows do without that wait.
e2e_template_ready() {
    [ -f "$E2E_TEMPLATE/.e2e-ready" ] && return 0
    (
        flock 9
        if [ ! -f "$E2E_TEMPLATE/.e2e-ready" ]; then
            WINEPREFIX=$E2E_TEMPLATE "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' \
                /v Managed /d N /f >"$E2E_TEMPLATE.reg.out" 2>&1 </dev/null &&
                WINEPREFIX=$E2E_TEMPLATE "$WINESERVER" -w &&
                touch "$E2E_TEMPLATE/.e2e-ready"
        fi
    ) 9>"$E2E_TEMPLATE.lock"
    [ -f "$E2E_TEMPLATE/.e2e-ready" ]
}

e2e_setup() {
    [ -n "${AMPWATCH_E2E_PRIVATE:-}" ] || { echo "harness: run me through run.sh" >&2; exit 2; }
    rm -rf "$SCRATCH"
    mkdir -p "$APP" "$SCRATCH/upper" "$SCRATCH/work" "$SCRATCH/prefix" "$SCRATCH/shots" || exit 1
    trap e2e_cleanup EXIT
    cp "$E2E_EXE" "$APP/Ampwatch.exe" || fail "cannot copy $E2E_EXE"
    cp "$E2E_CTL" "$SCRATCH/ampctl.exe" || fail "cannot copy $E2E_CTL"
    wine_env_for "$APP/Ampwatch.exe" || fail "no Wine for $E2E_EXE"
    export WINESERVER

    # One template prefix per build tree, made by whichever scenario comes first.
    (unset DISPLAY; wine_prefix_ready "$E2E_TEMPLATE" && e2e_template_ready) ||
        fail "no template prefix"
    mount -t overlay overlay \
        -o "lowerdir=$E2E_TEMPLATE,upperdir=$SCRATCH/upper,workdir=$SCRATCH/work" \
        "$SCRATCH/prefix" || fail "cannot mount the prefix overlay"
    E2E_MOUNTS+=("$SCRATCH/prefix")
    export WINEPREFIX=$SCRATCH/prefix

    mount -t tmpfs -o size=1m,mode=755 ampwatch-power "$POWER" || fail "cannot mount $POWER"
    E2E_MOUNTS+=("$POWER")
    battery 50 Discharging
    mains 0

    local fdfile=$SCRATCH/xvfb.display
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$fdfile" \
        >"$SCRATCH/xvfb.out" 2>&1 </dev/null &
    E2E_XVFB_PID=$!
    wait_for 20 test -s "$fdfile" || fail "Xvfb did not start"
    export DISPLAY=:$(head -n1 "$fdfile")

    # The prefix's helper processes outlive every program; they must not hold
    # any of our pipes, so they start here with their output in a file.
    "$WINE" wineboot >"$SCRATCH/wineboot.out" 2>&1 </dev/null
    log "ready: display $DISPLAY, prefix $WINEPREFIX"
}

# --- simulated power supply ---------------------------------------------------

# battery LEVEL [Discharging|Charging|Full]
battery() {
    local level=$1 status=${2:-Discharging} d=$POWER/BAT0
    mkdir -p "$d"
    echo Battery >"$d/type"
    echo 1 >"$d/present"
    echo "$status" >"$d/status"
    echo 5000000 >"$d/charge_full"
    echo $((level * 50000)) >"$d/charge_now"
    echo 1000000 >"$d/current_now"
    echo 10000000 >"$d/voltage_now"
    log "battery $level % $status"
}

# mains 0|1
mains() {
    mkdir -p "$POWER/AC"
    echo Mains >"$POWER/AC/type"
    echo "$1" >"$POWER/AC/online"
    log "mains online=$1"
}

no_battery() {
    rm -rf "$POWER/BAT0"
    log "no battery"
}

# --- the meter and its remote control ----------------------------------------

# ctl ARGS: runs ampctl; prints its stdout, returns its exit code. Its
# arguments are UTF-8 (a Western locale turns them into CP1252 for ampctl);
# its output is CP1252 (the C.UTF-8 locale gives Wine a Western code page).
ctl() {
    local out=$SCRATCH/ctl.out err=$SCRATCH/ctl.err rc
    LC_ALL=C.UTF-8 "$WINE" "$SCRATCH/ampctl.exe" "$@" >"$out" 2>"$err" </dev/null
    rc=$?
    printf 'ctl %s -> %s: %s%s\n' "$*" "$rc" "$(tr '\n' '|' <"$out")" \
        "$(tr -d '\r' <"$err" | tr '\n' '|' | sed 's/^./ stderr: &/')" >>"$SCRATCH/trace.log"
    cat "$out"
    cat "$err" >&2
    return "$rc"
}

# start_meter [VAR=value...]: starts the meter in the background, waits for its window.
start_meter() {
    E2E_METER_COUNT=$((E2E_METER_COUNT + 1))
    local out=$SCRATCH/meter.$E2E_METER_COUNT.out
    (cd "$APP" && exec env "$@" "$WINE" "$APP/Ampwatch.exe" >"$out" 2>&1 </dev/null) &
    METER_PID=$!
    METER_RC=
    log "meter $E2E_METER_COUNT started (pid $METER_PID${*:+, $*})"
    ctl wait-main 20000 >/dev/null || fail "the meter's main window did not appear"
}

# run_meter_foreground SECONDS [VAR=value...]: runs a copy to its end; sets RUN_RC.
run_meter_foreground() {
    local seconds=$1
    shift
    E2E_METER_COUNT=$((E2E_METER_COUNT + 1))
    local out=$SCRATCH/meter.$E2E_METER_COUNT.out
    (cd "$APP" && exec timeout "$seconds" env "$@" "$WINE" "$APP/Ampwatch.exe" >"$out" 2>&1 </dev/null)
    RUN_RC=$?
    log "meter $E2E_METER_COUNT ran to its end with $RUN_RC"
}

# wait_meter_exit [SECONDS]: waits until the background meter ends; sets METER_RC.
wait_meter_exit() {
    local seconds=${1:-20}
    [ -n "$METER_PID" ] || fail "no meter running"
    wait_for "$seconds" e2e_meter_gone || fail "the meter did not end within $seconds s"
    wait "$METER_PID"
    METER_RC=$?
    METER_PID=
    log "meter ended with $METER_RC"
}

e2e_meter_gone() { ! kill -0 "$METER_PID" 2>/dev/null; }

# close_meter: WM_CLOSE, then the meter must end with exit code 0 and leave
# no process of its name behind.
close_meter() {
    ctl post close >/dev/null || fail "cannot post WM_CLOSE"
    wait_meter_exit 20
    assert_eq 0 "$METER_RC" "exit code of the meter after WM_CLOSE"
    assert_eq 0 "$(ctl procs Ampwatch.exe)" "Ampwatch.exe processes after the close"
}

# poll: one poll timer tick, handled before this returns.
poll() {
    ctl poll >/dev/null || fail "poll failed"
}

sync_meter() {
    ctl sync >/dev/null || fail "the meter does not answer"
}

# state_of visible|foreground|iconic
state_of() {
    ctl state | tr ' ' '\n' | sed -n "s/^$1=//p"
}

box_count() {
    ctl boxes "$E2E_CAPTION" | sed -n 's/^count=//p'
}

ini_value() {  # ini_value SECTION KEY
    [ -f "$INI" ] || return 1
    tr -d '\r' <"$INI" | awk -v s="[$1]" -v k="$2" '
        /^\[/ { in_s = ($0 == s); next }
        in_s && index($0, k "=") == 1 { print substr($0, length(k) + 2); found = 1; exit }
        END { exit !found }'
}

screenshot() {
    local file=$SCRATCH/shots/$1.png
    import -display "$DISPLAY" -window root "$file" 2>/dev/null && echo "$file"
}

# --- Wine's own tray window (the virtual display has no desktop tray) --------

tray_shown() { xdotool search --onlyvisible --name '^Wine System Tray$' >/dev/null 2>&1; }
tray_gone() { ! tray_shown; }

# readd_tray_icon: the meter's icon taken away and added afresh. Wine's tray
# window paints a changed icon over the old one without clearing it; an icon
# added anew shows as a real notification area would.
readd_tray_icon() {
    ctl post untray >/dev/null || fail "cannot remove the icon"
    wait_for 5 tray_gone || fail "the icon did not go"
    ctl post taskbarcreated >/dev/null || fail "cannot ask for the icon again"
    sync_meter
    wait_for 5 tray_shown || fail "no icon after it was asked for again"
    sleep 1
}

# --- real input (xdotool) ----------------------------------------------------

# main_xwindow: the X window of the shown main window.
main_xwindow() {
    xdotool search --onlyvisible --name "^$E2E_CAPTION\$" | head -n1
}

# press KEY...: focuses the shown main window and types the keys, as a person
# would (XTEST events; `key --window` would look like an auto-repeat to Wine).
press() {
    local wid
    wid=$(main_xwindow)
    [ -n "$wid" ] || fail "press $*: the main window is not shown"
    # There is no window manager: focus directly, and do not wait for a focus
    # change when the window has the focus already.
    if [ "$(xdotool getwindowfocus 2>/dev/null)" != "$wid" ]; then
        timeout 5 xdotool windowfocus --sync "$wid" || xdotool windowfocus "$wid"
    fi
    xdotool key --clearmodifiers --delay 50 "$@"
    sync_meter
    log "pressed $*"
}

# click_item ID [BUTTON]: clicks the middle of a dialog item (1 left, 3 right).
click_item() {
    local x y w h
    read -r x y w h < <(ctl rect "$1") || fail "no rectangle for item $1"
    # No --sync: it waits for a motion that never comes when the pointer is
    # there already.
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) sleep 0.1 click "${2:-1}"
    sync_meter
    log "clicked item $1"
}

# --- waiting and asserting ----------------------------------------------------

# wait_for SECONDS COMMAND...: true as soon as COMMAND succeeds.
wait_for() {
    local deadline=$((SECONDS + $1))
    shift
    while :; do
        "$@" && return 0
        [ "$SECONDS" -ge "$deadline" ] && return 1
        sleep 0.1
    done
}

assert_eq() {  # assert_eq EXPECTED ACTUAL WHAT
    if [ "$1" != "$2" ]; then
        fail "$3: expected '$(printf '%s' "$1" | od -An -c | tr -s ' ' | head -c 300)' \
but got '$(printf '%s' "$2" | od -An -c | tr -s ' ' | head -c 300)'"
    fi
    log "ok: $3 = '$2'"
}

assert_contains() {  # assert_contains HAYSTACK NEEDLE WHAT
    case $1 in
        *"$2"*) log "ok: $3" ;;
        *) fail "$3: '$2' not in '$1'" ;;
    esac
}

assert_rc() {  # assert_rc EXPECTED WHAT COMMAND...
    local expected=$1 what=$2 rc
    shift 2
    "$@" >/dev/null
    rc=$?
    [ "$rc" = "$expected" ] || fail "$what: exit code $rc, expected $expected"
    log "ok: $what"
}

e2e_setup
