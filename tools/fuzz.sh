#!/bin/bash
# Runs every libFuzzer target for the given seconds each (default 60), one after another, from
# its seed corpus in fuzz/corpus/<target>. New inputs go to build/fuzz/work/<target>; a crash
# input is written into fuzz/corpus/<target>, where the test command replays it from then on.
set -eu
cd "$(dirname "$0")/.."
seconds=${1:-60}
tools/setup.sh
for p in clang libclang-rt-14-dev; do
    dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || {
        sudo=""; [ "$(id -u)" -eq 0 ] || sudo="sudo"
        DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "$p" >/dev/null
    }
done
cmake --preset fuzz >/dev/null
cmake --build --preset fuzz >/dev/null
for target in ${LB_FUZZ_TARGETS:-fileReadersFuzz buildersFuzz historyFuzz presetsFuzz}; do
    mkdir -p "build/fuzz/work/$target"
    echo "== $target for $seconds s"
    "build/fuzz/fuzz/$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 \
        -artifact_prefix="fuzz/corpus/$target/" "build/fuzz/work/$target" "fuzz/corpus/$target" 2>&1 |
        grep -E '^(#[0-9]+ *DONE|Done|==[0-9]+==ERROR|SUMMARY|artifact_prefix|Test unit written)' || true
done
