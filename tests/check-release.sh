#!/usr/bin/env bash
# The release zip is reproducible: packed twice from the same build, and with
# the program relinked in between, it has the same bytes; it holds exactly the
# program and its usage notes, and the version record says VERSION (argument 2).
set -eu
build=$1 want=$2
zip=$build/Ampwatch-$want.zip
cmake --build "$build" --target release >/dev/null
first=$(sha256sum <"$zip")
rm -f "$zip" "$build/Ampwatch.exe"
cmake --build "$build" --target release >/dev/null
second=$(sha256sum <"$zip")
[ "$first" = "$second" ] || { echo "release differs between two builds"; exit 1; }
list=$(unzip -Z1 "$zip" | tr '\n' ' ')
[ "$list" = "Ampwatch.exe USAGE.txt " ] || { echo "release holds: $list"; exit 1; }
version=$(unzip -p "$zip" Ampwatch.exe | strings -n 3 -el | grep -A1 -x FileVersion | tail -n1)
[ "$version" = "$want" ] || { echo "FileVersion of the released program: '$version'"; exit 1; }
echo "release $zip: $(stat -c %s "$zip") bytes, sha256 ${first%% *}"
