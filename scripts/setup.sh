#!/usr/bin/env bash
# Installs the Debian packages the build and the tests need, only those that are missing.
set -euo pipefail

need=(cmake make g++ libgtest-dev googletest mingw-w64 wine wine32:i386 xvfb xdotool
      x11-utils imagemagick fonts-liberation fonts-wine util-linux wine64 zip unzip binutils
      clang libclang-rt-14-dev libbenchmark-dev cppcheck clang-tidy python3 tesseract-ocr tesseract-ocr-eng)

SUDO=
[ "$(id -u)" -eq 0 ] || SUDO=sudo

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
    updated=0
fi

missing=()
for p in "${need[@]}"; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done

if [ ${#missing[@]} -gt 0 ]; then
    echo "setup: installing ${missing[*]}"
    $SUDO apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
fi
