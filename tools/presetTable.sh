#!/bin/sh
# The table of known emulators in README.md and packaging/readme.txt, made from
# data/emulatorPresets.txt. With --write it rewrites both; without it, it fails when either
# differs from what the data makes (the test command runs it so).
set -eu
cd "$(dirname "$0")/.."
data=data/emulatorPresets.txt

# One line per preset: name, patterns, kind, args, boxes, separated by tabs.
rows() {
    awk -F'=' '
        function flush() {
            if (name != "") print name "\t" exe "\t" kind "\t" args "\t" options
            name = exe = kind = args = options = ""
        }
        /^;/ { next }
        /^$/ { flush(); next }
        { key = $1; value = substr($0, length(key) + 2) }
        key == "name" { name = value } key == "exe" { exe = value } key == "kind" { kind = value }
        key == "args" { args = value } key == "options" { options = value }
        END { flush() }' "$data"
}

kinds='標準エミュレータ|1964 / Project Tempest|WinX68高速版|XM6|MAME / Model 2 Emulator'

markdown() {
    echo "| 候補 | プログラム | 種類 | コマンドライン引数 | チェック |"
    echo "|---|---|---|---|---|"
    rows | awk -F'\t' -v kinds="$kinds" '
        BEGIN { split(kinds, kind, "|") }
        {
            boxes = $5
            gsub(/extract/, "解凍", boxes); gsub(/quote/, "ダブルクォート", boxes)
            gsub(/short/, "ショートパス", boxes); gsub(/ /, "、", boxes)
            exe = $2; gsub(/;/, "`, `", exe)
            args = $4 == "" ? "（種類の起動方法）" : "`" $4 "`"
            print "| " $1 " | `" exe "` | " kind[$3 + 1] " | " args " | " boxes " |"
        }'
}

text() {
    rows | awk -F'\t' '{
        print "  " $1
        exe = $2; gsub(/;/, ", ", exe)
        print "      実行ファイル: " exe
        if ($4 != "") print "      引数: " $4
    }'
}

# Replaces the lines between the marker lines `begin` and `end` of `file` by `body`, into `out`.
splice() {
    file=$1 begin=$2 end=$3 body=$4 out=$5
    awk -v begin="$begin" -v end="$end" -v body="$body" '
        $0 == begin { print; while ((getline line < body) > 0) print line; skip = 1; next }
        $0 == end { skip = 0 }
        !skip { print }' "$file" > "$out"
}

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
markdown > "$work/table.md"
text > "$work/table.txt"
splice README.md '<!-- presets -->' '<!-- /presets -->' "$work/table.md" "$work/README.md"
splice packaging/readme.txt '【候補の一覧】' '【候補の一覧ここまで】' "$work/table.txt" "$work/readme.txt"
if [ "${1:-}" = --write ]; then
    cp "$work/README.md" README.md
    cp "$work/readme.txt" packaging/readme.txt
    exit 0
fi
status=0
for pair in "README.md $work/README.md" "packaging/readme.txt $work/readme.txt"; do
    set -- $pair
    if ! cmp -s "$1" "$2"; then
        echo "$1: the table of known emulators differs from $data; run tools/presetTable.sh --write"
        diff "$1" "$2" | head -20 || true
        status=1
    fi
done
exit $status
