#!/bin/bash
# Builds Launchboard.dll and shows it working: a host program loads it under Wine, prints its
# information texts, starts and closes it, and shows the "Setting.dat" it wrote.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
echo "Built $(pwd)/build/win32/Launchboard.dll"
. tests/e2e/wineEnv.sh
demo=$(pwd)/build/demo
rm -rf "$demo" && mkdir -p "$demo"
wine build/win32/tests/e2e/testHost.exe demo "$(winpath "$(pwd)/build/win32/Launchboard.dll")" "$(winpath "$demo/data")"
