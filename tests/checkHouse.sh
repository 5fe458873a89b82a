#!/bin/bash
# The house's two rules, checked on every C++ file under src/: an include names only a header of
# its own room or of a room below it, and only src/dialogs, src/platform/win32 and
# src/plugin/dllMain.cpp include Windows' headers. Prints each breach; fails when there is one.
set -eu
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
cd "$src"

# Rooms from the bottom up; favorites stands over launcher, launcher over registry.
rank() {
    case $1 in
        platform) echo 1 ;; core) echo 2 ;; registry) echo 3 ;; launcher) echo 4 ;;
        favorites) echo 5 ;; dialogs) echo 6 ;; plugin) echo 7 ;; *) echo 0 ;;
    esac
}
windowsHeaders='windows|commctrl|commdlg|shlobj|shlwapi|objbase|tlhelp32|winuser|winbase'

status=0
while IFS= read -r file; do
    room=${file%%/*}
    own=$(rank "$room")
    while IFS=: read -r line text; do
        target=$(sed -E 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"([^/"]+)\/.*/\1/' <<<"$text")
        [ "$target" = "$text" ] && continue  # a header of no room (resource.h, version.h)
        above=$(rank "$target")
        if [ "$above" -gt "$own" ]; then
            echo "src/$file:$line includes a header of $target, a room above $room:$text"
            status=1
        fi
    done < <(grep -nE '^[[:space:]]*#[[:space:]]*include[[:space:]]*"' "$file" || true)
    case $file in dialogs/* | platform/win32/* | plugin/dllMain.cpp) continue ;; esac
    while IFS=: read -r line text; do
        echo "src/$file:$line includes a Windows header outside the Win32 rooms:$text"
        status=1
    done < <(grep -niE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($windowsHeaders)\.h>" "$file" || true)
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort)
[ $status -eq 0 ] && echo "every include runs down the house; Windows' headers stay in the Win32 rooms"
exit $status
