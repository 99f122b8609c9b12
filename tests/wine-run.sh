#!/usr/bin/env bash
# Runs a Windows test program through Wine in the build tree's own prefix.
# The prefix is made once per build tree and reused.
set -u
exe=$1; shift
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-env.sh"
wine_env_for "$exe" || exit 1
export WINEPREFIX=${AMPWATCH_WINEPREFIX:-$(cd "$(dirname "$exe")" && pwd)/wineprefix}
wine_prefix_ready "$WINEPREFIX" || exit 1

# Start the prefix's helper processes first, with their output away from ours:
# they outlive the test and would hold a captured pipe open forever.
"$WINE" wineboot >/dev/null 2>&1 </dev/null
out=$(mktemp)
"$WINE" "$exe" "$@" >"$out" 2>&1 </dev/null
rc=$?
cat "$out"; rm -f "$out"
"$WINESERVER" -w
exit $rc
