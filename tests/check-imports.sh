#!/usr/bin/env bash
# Fails when the program imports anything but the system DLLs it is allowed.
set -u
objdump=$1 exe=$2
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
dlls=$("$objdump" -p "$exe" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
[ -n "$dlls" ] || { echo "no import table found in $exe"; exit 1; }
echo "imports of $(basename "$exe"):" $dlls
bad=$(printf '%s\n' $dlls | grep -Ev "$allowed")
if [ -n "$bad" ]; then
    echo "not a system DLL:" $bad
    exit 1
fi
