#!/bin/bash
# Runs the end-to-end host's cases against Launchboard.dll under Wine. LB_CASE narrows the run
# to the cases whose name contains it.
set -eu
host=$1 dll=$2 stub=$3
. "$(dirname "$0")/wineEnv.sh"
work=$(mktemp -d /tmp/lb-e2e.XXXXXX)
status=0
wine "$host" test "$(winpath "$dll")" "$(winpath "$work")" "$(winpath "$stub")" ${LB_CASE:-} || status=$?
rm -rf "$work"
exit $status
