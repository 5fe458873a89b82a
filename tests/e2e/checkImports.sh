#!/bin/sh
# Fails when Launchboard.dll imports from anything but Windows system libraries, or imports a
# function that is not in allowedImports.txt, the functions known to exist on Windows Vista.
set -eu
dll=$1
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|msvcrt)\.dll$'
dump=$(i686-w64-mingw32-objdump -p "$dll")
imports=$(printf '%s\n' "$dump" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table found in $dll"; exit 1; }
bad=$(printf '%s\n' "$imports" | grep -Ev "$allowed" || true)
if [ -n "$bad" ]; then
    echo "Launchboard.dll imports from non-system libraries:"; printf '  %s\n' $bad; exit 1
fi
functions=$(printf '%s\n' "$dump" | awk '/DLL Name:/ { dll = tolower($3); next }
    dll != "" && NF == 3 && $1 ~ /^[0-9a-f]+$/ { print dll " " $3 }' | sort -u)
unknown=$(printf '%s\n' "$functions" | awk -F': ' '
    NR == FNR { if ($1 ~ /\.dll$/) { n = split($2, f, " "); for (i = 1; i <= n; ++i) ok[$1 " " f[i]] }
                next }
    !($0 in ok)' "$(dirname "$0")/allowedImports.txt" -)
if [ -n "$unknown" ]; then
    echo "Launchboard.dll imports functions not checked against Windows Vista:"
    printf '%s\n' "$unknown" | sed 's/^/  /'; exit 1
fi
echo "imports: $(printf '%s ' $imports)($(printf '%s\n' "$functions" | wc -l) functions, all on Vista)"
