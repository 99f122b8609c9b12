#!/usr/bin/env bash
# Fails when the program ($2, read by the objdump $1) imports anything but the allowed system DLLs.
set -u
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|msvcrt|api-ms-win-crt-[a-z0-9-]+)\.dll$'
dlls=$("$1" -p "$2" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z' | sort -u)
echo "imports of $(basename "$2"):" $dlls
bad=$(printf '%s\n' $dlls | grep -Ev "$allowed")
[ -n "$dlls" ] && [ -z "$bad" ] || { echo "no import table, or not a system DLL: $bad"; exit 1; }
