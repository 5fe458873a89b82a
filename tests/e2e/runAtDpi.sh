#!/bin/bash
# Runs the end-to-end host's scale case against Launchboard.dll at each DPI given, each in a
# private Wine prefix whose LogPixels says so (wineEnv.sh); "win7" runs the case of a Windows
# without the per-monitor functions at 144 DPI, in a prefix whose Windows version is 7.
set -eu
host=$1 dll=$2 stub=$3
shift 3
status=0
for scale in "$@"; do
    (
        export LB_WINE_DPI=$scale case=everyLabelAndHeader
        [ "$scale" = win7 ] && export LB_WINE_DPI=144 LB_WINE_VERSION=win7 case=withoutThePerMonitor
        . "$(dirname "$0")/wineEnv.sh"
        work=$(mktemp -d /tmp/lb-dpi.XXXXXX)
        echo "== $scale"
        result=0
        wine "$host" test "$(winpath "$dll")" "$(winpath "$work")" "$(winpath "$stub")" "$case" ||
            result=$?
        rm -rf "$work"
        exit $result
    ) || status=1
done
exit $status
