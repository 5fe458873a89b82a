#!/bin/bash
# The house's rules, checked on every C++ file under src/: an include names only a header of its
# own room or of a room below it; only src/dialogs, src/platform/win32 and src/plugin/dllMain.cpp
# include Windows' headers; no file is over 400 lines, and no function over 40. Prints each
# breach; fails when there is one.
set -eu
src=${1:-$(cd "$(dirname "$0")/.." && pwd)/src}
cd "$src"

# Rooms from the bottom up; the history stands on core, and the launcher over it and registry.
rank() {
    case $1 in
        platform) echo 1 ;; core) echo 2 ;; history) echo 3 ;; registry | games) echo 4 ;; launcher) echo 5 ;;
        favorites) echo 6 ;; dialogs) echo 7 ;; plugin) echo 8 ;; *) echo 0 ;;
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
    lines=$(wc -l <"$file")
    if [ "$lines" -gt 400 ]; then
        echo "src/$file has $lines lines, more than 400: split it along the lines a reader draws"
        status=1
    fi
    # A function begins at a line of column 0 that ends in "{" (its signature may run over
    # several lines) and ends at the next "}" of column 0.
    while IFS= read -r breach; do
        echo "src/$file:$breach"
        status=1
    done < <(awk '
        /^[A-Za-z_]/ && !/^(namespace|struct|class|enum|union|extern)/ && !/[=;]|:$/ { signature = FNR }
        /^[A-Za-z_ ].*\{[[:space:]]*$/ && signature && !start { start = signature }
        /^}/ { if (start && FNR - start - 1 > 40) print start ": a function of " FNR - start - 1 " lines, more than 40"
               start = 0; signature = 0 }
        /;[[:space:]]*$/ && !start { signature = 0 }' "$file")
    case $file in dialogs/* | platform/win32/* | plugin/dllMain.cpp) continue ;; esac
    while IFS=: read -r line text; do
        echo "src/$file:$line includes a Windows header outside the Win32 rooms:$text"
        status=1
    done < <(grep -niE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($windowsHeaders)\.h>" "$file" || true)
done < <(find . -type f \( -name '*.h' -o -name '*.cpp' \) | sed 's|^\./||' | sort)
[ $status -eq 0 ] && echo "every include runs down the house; Windows' headers stay in the Win32 rooms;" \
    "no file is over 400 lines and no function over 40"
exit $status
