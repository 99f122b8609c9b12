#!/usr/bin/env bash
# The release zip is reproducible (packed twice, the program relinked in between: the same bytes);
# it holds exactly the program and its usage notes, the version record says VERSION (argument 2)
# and the manifest declares the settings the program relies on.
set -eu
build=$1 want=$2 zip=$1/Ampwatch-$2.zip
cmake --build "$build" --target release >/dev/null && first=$(sha256sum <"$zip")
rm -f "$zip" "$build/Ampwatch.exe" && cmake --build "$build" --target release >/dev/null
[ "$first" = "$(sha256sum <"$zip")" ] || { echo "release differs between two builds"; exit 1; }
list=$(unzip -Z1 "$zip" | tr '\n' ' ')
[ "$list" = "Ampwatch.exe USAGE.txt " ] || { echo "release holds: $list"; exit 1; }
version=$(unzip -p "$zip" Ampwatch.exe | strings -n 3 -el | grep -A1 -x FileVersion | tail -n1)
[ "$version" = "$want" ] || { echo "FileVersion of the released program: '$version'"; exit 1; }
unzip -p "$zip" Ampwatch.exe | python3 -c '
import re, sys, xml.etree.ElementTree as et
found = re.search(rb"<\?xml.*?</assembly>", sys.stdin.buffer.read(), re.S)
root = et.fromstring(found.group(0)) if found else sys.exit("no manifest")
got = {e.tag.split("}")[1]: (e.text or "").strip() or " ".join(e.attrib.values()) for e in root.iter()
       if "SMI" in e.tag or "Level" in e.tag}
want = {"dpiAware": "true/pm", "dpiAwareness": "PerMonitorV2, PerMonitor", "activeCodePage": "UTF-8",
        "requestedExecutionLevel": "asInvoker false"}
sys.exit(0 if got == want else "manifest settings: %r" % got)'
echo "release $zip: $(stat -c %s "$zip") bytes, sha256 ${first%% *}"
