#!/bin/sh
# Fails when Launchboard.dll imports from anything but Windows system libraries.
set -eu
dll=$1
allowed='^(kernel32|user32|gdi32|comctl32|comdlg32|shell32|shlwapi|ole32|oleaut32|advapi32|msvcrt)\.dll$'
imports=$(i686-w64-mingw32-objdump -p "$dll" | sed -n 's/^[[:space:]]*DLL Name: //p' | tr 'A-Z' 'a-z')
[ -n "$imports" ] || { echo "no import table found in $dll"; exit 1; }
bad=$(printf '%s\n' "$imports" | grep -Ev "$allowed" || true)
if [ -n "$bad" ]; then
    echo "Launchboard.dll imports from non-system libraries:"; printf '  %s\n' $bad; exit 1
fi
echo "imports: $(printf '%s ' $imports)"
