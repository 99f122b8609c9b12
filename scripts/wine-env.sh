# Shared Wine set-up for the build, run, picture, benchmark and test scripts (sourced).
# wine_env_for EXE sets WINE and WINESERVER for the loader that matches the
# program's word size; wine_prefix_ready PREFIX creates the prefix once, with
# the fonts of fonts-wine.
export WINEDEBUG=${WINEDEBUG:--all}
export WINEDLLOVERRIDES="mscoree,mshtml="

# The Windows tree that Wine runs on this host: win32, or its 64-bit twin win64 where the
# host cannot execute 32-bit code at all. Every script asks here.
wine_tree() { if "$(dirname "${BASH_SOURCE[0]}")/can-run-32bit.sh"; then echo win32; else echo win64; fi; }

# The main window's caption, as the program names it.
main_caption() {
    sed -n 's/^#define MAIN_CAPTION "\(.*\)"$/\1/p' "$(dirname "${BASH_SOURCE[0]}")/../res/resource.h"
}

wine_env_for() {
    local machine
    machine=$(od -An -tx1 -j "$(( $(od -An -tu4 -j60 -N4 "$1") + 4 ))" -N2 "$1" | tr -d ' ')
    case $machine in
        4c01) WINE=/usr/lib/wine/wine ;;     # i386
        6486) WINE=/usr/lib/wine/wine64 ;;   # x86-64
        *) echo "wine-env: $1 is not a Windows program" >&2; return 1 ;;
    esac
    [ -x "$WINE" ] || WINE=$(command -v wine)
    WINESERVER=/usr/lib/wine/wineserver
    [ -x "$WINESERVER" ] || WINESERVER=$(command -v wineserver)
    export WINELOADER=$WINE
}

wine_prefix_ready() {
    local prefix=$1
    [ -f "$prefix/.ready" ] && return 0
    mkdir -p "$(dirname "$prefix")"
    (
        flock 9
        if [ ! -f "$prefix/.ready" ]; then
            rm -rf "$prefix"
            WINEPREFIX=$prefix "$WINE" wineboot -i >/dev/null 2>&1 </dev/null
            WINEPREFIX=$prefix "$WINESERVER" -w
            # Wine's own fonts (Marlett draws the frame buttons, Tahoma the
            # captions): Debian's fonts-wine keeps them where this Wine does
            # not look, so the prefix's font folder links to them.
            dpkg -L fonts-wine 2>/dev/null | grep -i '\.ttf$' |
                xargs -r ln -sf -t "$prefix/drive_c/windows/Fonts" || true
            [ -f "$prefix/system.reg" ] && touch "$prefix/.ready"
        fi
    ) 9>"$prefix.lock"
    [ -f "$prefix/.ready" ] || { echo "wine-env: could not create the Wine prefix $prefix" >&2; return 1; }
}
