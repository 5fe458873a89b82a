#!/bin/bash
# Installs what building and testing need, on a Debian machine, only when something is missing:
# the host compiler and GoogleTest, the MinGW-w64 i686 cross compiler, 32-bit Wine, a headless
# X server, a Japanese font, Wine's own fonts (Marlett draws the caption buttons) and the
# ja_JP.UTF-8 locale.
set -eu
packages="cmake g++ libgtest-dev libbenchmark-dev g++-mingw-w64-i686 wine wine32 fonts-wine xvfb xauth fonts-ipafont-gothic locales strip-nondeterminism"
sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"

missing=""
for p in $packages; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing="$missing $p"
done
if [ -n "$missing" ]; then
    echo "Installing:$missing"
    dpkg --print-foreign-architectures | grep -qx i386 || $sudo dpkg --add-architecture i386
    $sudo apt-get update -qq
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq $missing >/dev/null
fi
if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    grep -q '^ja_JP.UTF-8 UTF-8' /etc/locale.gen 2>/dev/null || echo 'ja_JP.UTF-8 UTF-8' | $sudo tee -a /etc/locale.gen >/dev/null
    $sudo locale-gen ja_JP.UTF-8 >/dev/null
fi
