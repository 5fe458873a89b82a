#!/bin/bash
# The release zip holds exactly the tested DLL and a readme.txt in valid Shift-JIS with CRLF
# line ends and every section a user looks for.
set -eu
tested=$1  # the tested build folder, where the package step put the zip
zip=$(ls "$tested"/Launchboard-*.zip)
work=$(mktemp -d) && trap 'rm -rf "$work"' EXIT
(cd "$work" && cmake -E tar xf "$zip")  # cmake reads zips; unzip may be missing
status=0
[ "$(ls "$work")" = "$(printf 'Launchboard.dll\nreadme.txt')" ] || { echo "zip holds: $(ls "$work")"; status=1; }
cmp -s "$work/Launchboard.dll" "$tested/Launchboard.dll" || { echo "the zip's DLL is not the tested one"; status=1; }
iconv -f CP932 -t UTF-8 "$work/readme.txt" >"$work/readme.utf8" || { echo "readme.txt is not Shift-JIS"; status=1; }
[ "$(grep -c $'\r$' "$work/readme.txt")" = "$(wc -l <"$work/readme.txt")" ] || { echo "a line without CRLF"; status=1; }
for section in 概要 動作環境 インストール アンインストール 使い方 注意 更新履歴 Setting.dat .emu .fvr Copy.dat 'temp\'; do
    grep -qF "$section" "$work/readme.utf8" || { echo "readme.txt lacks $section"; status=1; }
done
[ $status -eq 0 ] && echo "$(basename "$zip"): the tested DLL and a Shift-JIS readme.txt with CRLF"
exit $status
