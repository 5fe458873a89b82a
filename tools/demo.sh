#!/bin/bash
# Builds Launchboard.dll and shows it working: a host program loads it under Wine, prints its
# information texts, starts and closes it, shows the "Setting.dat" it wrote, then opens the
# plug-in's dialogs and saves their pictures in build/demo/ (PNG), the favourites dialog and the
# history tab at 150% (144 DPI) too.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
dpkg-query -W -f='${Status}' imagemagick 2>/dev/null | grep -q "install ok installed" || {
    sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
    DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq imagemagick >/dev/null
}
cmake --preset win32 >/dev/null
cmake --build --preset win32 >/dev/null
echo "Built $(pwd)/build/win32/Launchboard.dll"
demo=$(pwd)/build/demo
rm -rf "$demo" && mkdir -p "$demo"
for dpi in "" 144; do
    (
        export LB_WINE_DPI=$dpi
        . tests/e2e/wineEnv.sh
        wine build/win32/tests/e2e/testHost.exe demo \
            "$(winpath "$(pwd)/build/win32/Launchboard.dll")" "$(winpath "$demo/data$dpi")" \
            "$(winpath "$demo/shots")"
    )
done
for bmp in "$demo"/shots/*.bmp; do
    convert "$bmp" "$demo/$(basename "${bmp%.bmp}").png"
    echo "Picture: $demo/$(basename "${bmp%.bmp}").png"
done
