#!/usr/bin/env bash
# Static checks: the seam between the portable core and the Win32 shell, then
# cppcheck and clang-tidy (checks in .clang-tidy, cppcheck suppressions in
# scripts/lint-suppressions.txt). Any finding fails.
# The sources and their flags are those of the build trees'
# compile_commands.json (scripts/build.sh makes them): every source of
# build/win32 under its i686 target, which is what ships, and every source of
# build/native (the core a second time, the tests and benchmarks). The 64-bit
# twin build/win64 compiles nothing else and is not read, so every host gives
# the same verdict.
#   scripts/lint.sh
set -uo pipefail
cd "$(dirname "$0")/.." || exit 1
out=build/lint
jobs=$(nproc)
status=0

echo "lint: seam"
# The core is every source of these folders without _win32 in its name; it
# builds natively, so it names no Windows header, no _WIN32 and, outside its
# comments, no Windows type.
win_headers='win[a-z0-9_]*|shellapi|commctrl|commdlg|powrprof|shlobj|shlwapi|uxtheme|dwmapi|mmsystem|objbase|tchar'
win_types='HWND|HDC|HICON|HBITMAP|HFONT|HBRUSH|HPEN|HGDIOBJ|HINSTANCE|HMODULE|HMENU|HKEY'
win_types+='|HANDLE|HRESULT|DWORD|WORD|BYTE|BOOL|LPARAM|WPARAM|LRESULT|UINT|ULONG|INT_PTR|UINT_PTR'
win_types+='|LONG_PTR|ULONG_PTR|DWORD_PTR|COLORREF|LOGFONT[AW]?|RECT|POINT|LPSTR|LPCSTR|LPWSTR'
win_types+='|LPCWSTR|LPVOID|WCHAR|TCHAR|SYSTEMTIME|FILETIME|SYSTEM_POWER_STATUS|NOTIFYICONDATA[AW]?'
win_types+='|BITMAPINFO|BITMAPINFOHEADER|PAINTSTRUCT|MSG|WNDCLASS(EX)?[AW]?|CALLBACK|WINAPI'
seam=0
for f in $(find app power history ui log \( -name '*.cpp' -o -name '*.h' \) ! -name '*_win32*' | sort); do
    grep -nHiE "^[[:space:]]*#[[:space:]]*include[[:space:]]*[<\"]($win_headers)\.h[>\"]" "$f" && seam=1
    grep -nH '_WIN32\|_WIN64' "$f" && seam=1
    sed 's|//.*$||' "$f" | grep -nwE "$win_types" | sed "s|^|$f:|" && seam=1
done
[ $seam = 0 ] || { echo "lint: the core lines above belong to the Win32 shell"; status=1; }

echo "lint: sizes"
# A file of the program a reader can hold in mind; functions are held to 50
# lines by clang-tidy (.clang-tidy).
long=$(find app power history ui log platform res \( -name '*.cpp' -o -name '*.h' \) -exec wc -l {} + |
    awk '$2 != "total" && $1 > 400 {print $2 ": " $1 " lines (at most 400)"}')
[ -z "$long" ] || { echo "$long"; status=1; }

trees=(native win32)
for t in "${trees[@]}"; do
    if [ ! -f "build/$t/compile_commands.json" ]; then
        echo "lint: build/$t needs its compile_commands.json: run scripts/build.sh" >&2
        exit 1
    fi
done
rm -rf $out
# Each tree's share: the sources of this checkout it compiles, each once with
# its first flags, and the tree's C++ compiler. A source removed since the
# tree's last build is passed over.
python3 - $out "${trees[@]}" <<'EOF' || exit 1
import json, os, sys
out, trees = sys.argv[1], sys.argv[2:]
root = os.getcwd()
for tree in trees:
    share, seen = [], set()
    for entry in json.load(open(f"build/{tree}/compile_commands.json")):
        path = os.path.realpath(os.path.join(entry["directory"], entry["file"]))
        rel = os.path.relpath(path, root)
        if path in seen or rel.startswith(("../", "build/")) or not os.path.exists(path):
            continue
        seen.add(path)
        share.append(entry)
    os.makedirs(f"{out}/{tree}")
    json.dump(share, open(f"{out}/{tree}/compile_commands.json", "w"), indent=1)
    with open(f"{out}/{tree}/files", "w") as files:
        files.writelines(e["file"] + "\n" for e in share)
    cxx = [e["command"].split()[0] for e in share if e["file"].endswith(".cpp")]
    open(f"{out}/{tree}/cxx", "w").write((cxx or [""])[0] + "\n")
EOF
case $("$(cat $out/win32/cxx)" -dumpmachine 2>/dev/null) in
    i?86-*) ;;
    *) echo "lint: build/win32 is not built for i686: run scripts/build.sh" >&2; exit 1 ;;
esac

echo "lint: cppcheck"
cppcheck_run() {
    cppcheck --enable=warning,style,performance,portability --std=c++17 --language=c++ \
        --library=googletest --inline-suppr --quiet --error-exitcode=1 \
        --suppressions-list=scripts/lint-suppressions.txt \
        --template='{file}:{line}: {severity} ({id}): {message}' "$@"
}
for t in "${trees[@]}"; do
    [ -s "$out/$t/files" ] || continue
    extra=
    [ "$t" = win32 ] && extra="--platform=win32A -D_WIN32"
    # shellcheck disable=SC2086
    cppcheck_run $extra --project="$out/$t/compile_commands.json" || status=1
done
# Built by scripts/bench.sh alone, outside every tree.
cppcheck_run -D_WIN32 --platform=win64 bench/baseline_tray.cpp || status=1

echo "lint: clang-tidy"
for t in "${trees[@]}"; do
    [ -s "$out/$t/files" ] || continue
    tidy_args=()
    if [ "$t" != native ]; then
        # clang does not know where the cross compiler keeps its C++ library headers.
        cxx=$(cat "$out/$t/cxx")
        tidy_args=("--extra-arg=--target=$("$cxx" -dumpmachine)")
        for dir in $(echo | "$cxx" -xc++ -E -v - 2>&1 | sed -n 's|^ \(/.*/include/c++[^ ]*\)$|\1|p'); do
            tidy_args+=("--extra-arg=-isystem$dir")
        done
    fi
    xargs -P "$jobs" -n 1 clang-tidy -p "$out/$t" --quiet \
        --extra-arg=-Wno-unknown-warning-option --extra-arg=-Wno-ignored-optimization-argument \
        "${tidy_args[@]}" <"$out/$t/files" \
        >"$out/tidy-$t.txt" 2>/dev/null || status=1
done
clang-tidy --quiet bench/baseline_tray.cpp -- --target=x86_64-w64-mingw32 -std=c++17 \
    >$out/tidy-baseline.txt 2>/dev/null || status=1
cat $out/tidy-*.txt
findings=$(cat $out/tidy-*.txt | grep -c ': \(warning\|error\): ' || true)
echo "lint: clang-tidy findings: $findings"

if [ $status -eq 0 ]; then
    echo "lint: clean"
else
    echo "lint: findings above"
fi
exit $status
