# Sourced by the scripts that run Windows programs: a private Wine prefix reused across runs,
# the Japanese locale (ANSI code page 932), and a private headless X server. Everything this
# starts is stopped again on exit; nothing started by others is touched.
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
# LB_WINE_DPI and LB_WINE_VERSION ask for a prefix of their own beside the shared one, whose
# LogPixels (and Windows version) say so: the display's scale is read as a program starts.
lb_suffix=${LB_WINE_DPI:+-$LB_WINE_DPI}${LB_WINE_VERSION:+-$LB_WINE_VERSION}
export WINEPREFIX=${LB_WINEPREFIX:-$root/build/wineprefix}$lb_suffix
export WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=ja_JP.UTF-8 LC_ALL=ja_JP.UTF-8

lb_xvfb_pid=
lb_cleanup() {
    WINEPREFIX=$WINEPREFIX wineserver -k 2>/dev/null || true
    [ -n "$lb_xvfb_pid" ] && kill "$lb_xvfb_pid" 2>/dev/null || true
}
trap lb_cleanup EXIT

lb_display=99
while [ -e /tmp/.X$lb_display-lock ] || [ -e /tmp/.X11-unix/X$lb_display ]; do lb_display=$((lb_display + 1)); done
Xvfb :$lb_display -screen 0 1280x1024x24 -nolisten tcp >/dev/null 2>&1 &
lb_xvfb_pid=$!
export DISPLAY=:$lb_display
for _ in $(seq 50); do [ -e /tmp/.X11-unix/X$lb_display ] && break; sleep 0.1; done

if [ ! -f "$WINEPREFIX/system.reg" ]; then
    mkdir -p "$WINEPREFIX"
    wineboot -i >/dev/null 2>&1 || true
    wineserver -w
fi

# Windows has "ＭＳ Ｐゴシック", the dialogs' font, and "MS UI Gothic" (as "MS Shell Dlg"), the menus'; Wine has
# neither. The prefix maps both to the proportional IPA Gothic, so dialogs and menus lay out and
# render as on a Japanese Windows (Wine's own stand-in draws "M" as a block). Without a window
# manager on the private X server, Wine draws the windows' captions itself.
if [ ! -f "$WINEPREFIX/.lb-settings-4" ]; then
    for font in 'ＭＳ Ｐゴシック' 'MS UI Gothic' 'MS PGothic' 'MS Shell Dlg'; do
        wine reg add 'HKLM\Software\Microsoft\Windows NT\CurrentVersion\FontSubstitutes' \
            /v "$font" /t REG_SZ /d 'IPAPGothic' /f >/dev/null 2>&1
    done
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
    wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.lb-settings-4"
fi

if [ -n "$lb_suffix" ] && [ ! -f "$WINEPREFIX/.lb-scale" ]; then
    [ -n "${LB_WINE_DPI:-}" ] && wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels \
        /t REG_DWORD /d "$LB_WINE_DPI" /f >/dev/null 2>&1
    [ -n "${LB_WINE_VERSION:-}" ] && wine reg add 'HKCU\Software\Wine' /v Version /t REG_SZ \
        /d "$LB_WINE_VERSION" /f >/dev/null 2>&1
    wineserver -w
    touch "$WINEPREFIX/.lb-scale"
fi

# Wine draws the caption buttons' glyphs from Marlett, but this Wine does not look in the folder
# where Debian's fonts-wine puts it; in the prefix's Fonts folder it is found.
marlett=/usr/share/wine/fonts/marlett.ttf
if [ -f "$marlett" ] && [ ! -f "$WINEPREFIX/drive_c/windows/Fonts/marlett.ttf" ]; then
    cp "$marlett" "$WINEPREFIX/drive_c/windows/Fonts/"
fi

# A Linux path as Wine sees it on drive Z:.
winpath() { printf 'Z:%s' "$(printf '%s' "$1" | tr / '\\')"; }
