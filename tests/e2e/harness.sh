# Sourced by each tests/e2e/test_NAME.sh AMPWATCH_EXE AMPCTL_EXE PLANTED_DLL. A scenario gets a private mount namespace
# with a simulated battery (a tmpfs over /sys/class/power_supply), a copy-on-write view of one template prefix, its own
# Xvfb display and a scratch folder SCRATCH: the program in APP (APP_DIR names it there). What it started ends with it.
set -u
# Without a preloader (Debian's 64-bit Wine) a randomised heap took the page Wine maps at 0x7ffe0000 once in 5000 starts.
[ -n "${E2E_NS:-}" ] || E2E_NS=1 exec setarch -R unshare -m --propagation private bash "$0" "$@"
. "$(dirname "${BASH_SOURCE[0]}")/../../scripts/wine-env.sh"
export WINEDEBUG=-all,err+all  # a Wine that fails says why: in the meter's output or the control tool's
NAME=$(basename "$0" .sh) ROOT=$(dirname "$(realpath "$2")") POWER=/sys/class/power_supply
CAP=$(main_caption)
SCRATCH=$ROOT/scratch/$NAME TEMPLATE=$ROOT/wineprefix-template PLANTED=$(realpath "$3") XVFB= PID= RC= N=0 MOUNTS=()
APP=$SCRATCH/${APP_DIR:-app} CTL=$SCRATCH/ampctl.exe
INI=$APP/Ampwatch.ini HIST=$APP/Ampwatch.dat LOG=$APP/Ampwatch.txt
log() { printf '[%s %3ds] %s\n' "$NAME" "$SECONDS" "$*" | tee -a "$SCRATCH/trace.log"; }
fail() {
    log "FAIL: $*${PID:+ (the meter $(kill -0 "$PID" 2>/dev/null && echo still runs || echo has ended))}"
    shot failure >/dev/null; exit 1
}
cleanup() {
    local rc=$? i f
    if [ -n "${WINEPREFIX:-}" ]; then "$WINESERVER" -k; "$WINESERVER" -w; fi 2>/dev/null
    [ -n "$XVFB" ] && kill "$XVFB" && wait "$XVFB"
    for ((i = ${#MOUNTS[@]} - 1; i >= 0; i--)); do umount "${MOUNTS[i]}" || umount -l "${MOUNTS[i]}"; done
    [ "$rc" = 0 ] && log PASS && rm -rf "$SCRATCH/upper" "$SCRATCH/work" && exit 0
    for f in "$SCRATCH"/meter.*.out "$SCRATCH"/wineboot.out; do [ -s "$f" ] && echo "--- $f" && tail -n 20 "$f"; done
    log "FAILED; trace and screenshots in $SCRATCH"
    exit "$rc"
}
# Made once: unmanaged windows (Wine waits a second at each hide of a managed one), a dark tray (the menu colour).
template() {
    [ -f "$TEMPLATE/.e2e" ] || (flock 9; [ -f "$TEMPLATE/.e2e" ] || { wine_prefix_ready "$TEMPLATE" &&
        export WINEPREFIX=$TEMPLATE && "$WINE" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f &&
        "$WINE" reg add 'HKCU\Control Panel\Colors' /v Menu /d '0 0 128' /f && "$WINESERVER" -w &&
        touch "$TEMPLATE/.e2e"; }) 9>"$TEMPLATE.e2e-lock" >/dev/null 2>&1 </dev/null
}
battery() {  # battery LEVEL [Discharging|Charging|Full]
    mkdir -p "$POWER/BAT0" && cd "$POWER/BAT0" || fail "no battery folder"
    echo Battery >type; echo 1 >present; echo "${2:-Discharging}" >status; echo 5000000 >charge_full
    echo $(($1 * 50000)) >charge_now; echo 1000000 >current_now; echo 10000000 >voltage_now; cd - >/dev/null
}
mains() { mkdir -p "$POWER/AC" && echo Mains >"$POWER/AC/type" && echo "$1" >"$POWER/AC/online"; }
no_battery() { rm -rf "$POWER/BAT0"; }
ctl() {  # ctl ARGS: the remote control; its texts come back as UTF-8 (Wine gives it a Western code page)
    LC_ALL=C.UTF-8 "$WINE" "$CTL" "$@" </dev/null 2>"$SCRATCH/ctl.err" | iconv -f CP1252 | tr -d '\r'
    set -- "${PIPESTATUS[0]}" "$@"  # on failure what it and Wine's error channels said
    [ "$1" = 0 ] || { echo "ctl ${*:2}: exit code $1"; sed 's/^/  /' "$SCRATCH/ctl.err"; } >&2; return "$1"
}
poll() { ctl poll || fail "poll"; }
state() { ctl state | tr ' ' '\n' | sed -n "s/^$1=//p"; }
# boxes CAPTION [MS [BUTTON]]: NBOX the meter's boxes of that caption, BOX the first one's text
# (| for line breaks), waiting MS for one; then its BUTTON pressed.
boxes() { local out; out=$(ctl box "$@") || fail "box $1"; NBOX=${out%%$'\n'*}; BOX=$(sed 1d <<<"$out" | paste -sd'|'); }
ini() { tr -d '\r' <"$INI" 2>/dev/null | sed -n "s/^$1=//p" | head -n1; }
hist() { od -An -tu1 -v -N "$1" "$HIST" | xargs; }
shot() { import -display "$DISPLAY" -window root "$SCRATCH/shots/$1.png" && echo "$SCRATCH/shots/$1.png"; }
# reg_value KEY: the data of the value Ampwatch under a key (RUN: where Windows starts programs), empty without one
reg_value() { "$WINE" reg query "$1" /v Ampwatch 2>/dev/null </dev/null | tr -d '\r' | sed -n 's/^ *Ampwatch *REG_[A-Z]* *//p'; }
RUN='HKCU\Software\Microsoft\Windows\CurrentVersion\Run'
strings() { ctl strings "Z:$APP/Ampwatch.exe" "$@" | paste -sd'|'; }  # strings FIRST LAST of the program
# start_meter [VAR=value...]: the meter up to its first poll, started from another folder (its files
# land beside it only by its own paths) in a UTF-8 locale (Wine maps file names through it).
start_meter() {
    N=$((N + 1)) RC=
    (cd "$SCRATCH" && exec env LC_ALL=C.UTF-8 "$@" "$WINE" "$APP/Ampwatch.exe" >"$SCRATCH/meter.$N.out" 2>&1 </dev/null) &
    PID=$! && log "meter $N started $*"
    ctl wait-meter 20000 || fail "no main window"
}
ended() { wait_for 20 eval '! kill -0 "$PID" 2>/dev/null' || fail "the meter did not end"; wait "$PID"; RC=$? PID=; }
close_meter() { ctl post close || fail "close"; ended; assert_eq 0 "$RC" "exit code after WM_CLOSE"; wait_for 5 eval '! tray_shown' || fail "icon left"; }
press() {  # press KEY...: real keys into the shown window (XTEST, as a person types)
    local wid; wid=$(xdotool search --onlyvisible --name "^$CAP\$" | head -n1)
    [ -n "$wid" ] || fail "press $*: the window is not shown"
    [ "$(xdotool getwindowfocus)" = "$wid" ] || timeout 5 xdotool windowfocus --sync "$wid"
    xdotool key --clearmodifiers --delay 50 "$@" && ctl sync
}
click() {  # click ITEM [BUTTON]: the middle of a dialog item
    local x y w h; read -r x y w h < <(ctl rect "$1") || fail "no item $1"
    xdotool mousemove $((x + w / 2)) $((y + h / 2)) sleep 0.1 click "${2:-1}" && ctl sync
}
# Wine keeps the icons in its own tray window at the top left, painted afresh for an icon asked for again.
tray_shown() { xdotool search --onlyvisible --name '^Wine System Tray$' >/dev/null; }
tray_up() { wait_for 10 tray_shown || fail "no tray icon"; }
readd_tray() { ctl post untray && wait_for 5 eval '! tray_shown' || fail "the icon stayed after its removal"
    ctl post taskbarcreated && wait_for 5 tray_shown || fail "no icon after TaskbarCreated"; sleep 1; }
# reads ITEM WORDS WHAT: WHAT a person reads on a dialog item are WORDS, in any order (tesseract on its
# red channel: the graph's yellow texts without its green lines, dark on light).
reads() {
    local x y w h; read -r x y w h < <(ctl rect "$1") || fail "no item $1"
    assert_eq "$(words <<<"$2")" "$(convert "$(shot "read-$1")" -crop "${w}x$h+$x+$y" +repage -channel R -separate \
        -negate png:- | tesseract - - --psm 11 -l eng 2>/dev/null | words)" "$3"
}
# notice MS: the icon's notification, a balloon by Wine's tray, waited for up to MS: NOTICE its window
# (a new one for each notification), NOTICE_TEXT what a person reads there from its title on, in one line.
notice() {
    local x y w h; read -r NOTICE x y w h < <(ctl balloon "$1") || fail "no notification of the icon"
    NOTICE_TEXT=$(convert "$(shot "notice-$NOTICE")" -crop "${w}x$h+$x+$y" +repage -colorspace Gray -resize 300% png:- |
        tesseract - - --psm 6 -l eng 2>/dev/null | paste -sd' ' | sed -n "s/.*\($CAP\)/\1/p")
}
words() { tr -s '[:space:]' '\n' | grep . | LC_ALL=C sort | paste -sd' '; }
# wait_for SECONDS COMMAND...: true as soon as COMMAND is
wait_for() { local end=$((SECONDS + $1)); shift; until "$@"; do [ "$SECONDS" -ge "$end" ] && return 1; sleep 0.1; done; }
assert_eq() { [ "$1" = "$2" ] || fail "$3: expected '$1', got '$2'"; log "ok: $3"; }  # EXPECTED ACTUAL WHAT
rm -rf "$SCRATCH" && mkdir -p "$APP" "$SCRATCH/upper" "$SCRATCH/work" "$SCRATCH/prefix" "$SCRATCH/shots" || exit 1
trap cleanup EXIT
cp "$1" "$APP/Ampwatch.exe" && cp "$2" "$CTL" && wine_env_for "$APP/Ampwatch.exe" || fail "no program or no Wine"
(unset DISPLAY; template) && [ -f "$TEMPLATE/.e2e" ] || fail "no template prefix"
mount -t overlay overlay -o "lowerdir=$TEMPLATE,upperdir=$SCRATCH/upper,workdir=$SCRATCH/work" "$SCRATCH/prefix" &&
    MOUNTS+=("$SCRATCH/prefix") && mount -t tmpfs -o size=1m ampwatch-power "$POWER" && MOUNTS+=("$POWER") ||
    fail "cannot mount the prefix or the power supply"
export WINESERVER WINEPREFIX=$SCRATCH/prefix
battery 50; mains 0
Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$SCRATCH/display" >/dev/null 2>&1 </dev/null & XVFB=$!
wait_for 20 test -s "$SCRATCH/display" || fail "no Xvfb"
export DISPLAY=:$(head -n1 "$SCRATCH/display")
# The prefix's helper processes outlive every program: started here, they hold no pipe of ours.
"$WINE" wineboot >"$SCRATCH/wineboot.out" 2>&1 </dev/null
trap 'fail "line $LINENO: $BASH_COMMAND (exit $?)"' ERR  # a step that fails unchecked names itself
