#!/bin/bash
# Benchmarks the plug-in's hot paths at full size and prints one table: each operation at
# 10,000 entries, its floor measured in the same run, their ratio, and how the operation's time
# grows from 1,000 to 10,000 entries. Reference rows show the straightforward algorithms.
# With --wine it also times the favourites dialog under Wine with the real DLL.
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh >/dev/null
cmake --preset bench >/dev/null
cmake --build --preset bench --target hotPathsBench >/dev/null
# The machine's caches above the table: two runs compare only on alike machines.
lscpu | sed -n 's/^Model name:[[:space:]]*/machine: /p; s/^\(L[23]\) cache:[[:space:]]*/\1: /p' | paste -sd ' ' |
    sed 's/ L2:/, L2/; s/ L3:/, L3/'
build/bench/bench/hotPathsBench --benchmark_format=json --benchmark_repetitions=5 \
    --benchmark_report_aggregates_only=true 2>/dev/null | python3 -c '
import json, sys
runs = {b["run_name"]: b["real_time"] for b in json.load(sys.stdin)["benchmarks"]
        if b.get("aggregate_name") == "median"}
def t(kind, op, n): return runs.get("%s/%s/%d" % (kind, op, n))
def fmt(us): return "%9.1f ms" % (us / 1000) if us >= 1000 else "%9.1f us" % us
ops = []
for name in runs:
    kind, op, n = name.split("/")
    if kind == "op" and op not in ops: ops.append(op)
print("%-24s %12s %12s %7s %9s %14s" % ("operation (10,000)", "time", "floor", "ratio",
      "1k->10k", "floor 1k->10k"))
for op in ops:
    time, floor, small = t("op", op, 10000), t("floor", op, 10000), t("op", op, 1000)
    print("%-24s %s %s %6.2fx %8.1fx %8.1fx" % (op, fmt(time), fmt(floor), time / floor,
          time / small, floor / t("floor", op, 1000)))
    real = t("fgets", op, 10000)
    if real:
        print("%-24s %12s %s %6.2fx %8s %8.1fx" % ("  vs fgets, real file", "", fmt(real),
              time / real, "", real / t("fgets", op, 1000)))
    ref = t("reference", op, 10000)
    if ref:
        print("%-24s %s %12s %6.2fx %8.1fx" % ("  straightforward", fmt(ref), "",
              ref / floor, ref / t("reference", op, 1000)))
'
if [ "${1:-}" = "--wine" ]; then
    cmake --preset win32 >/dev/null
    cmake --build --preset win32 >/dev/null
    . tests/e2e/wineEnv.sh
    work=$(mktemp -d /tmp/lb-bench.XXXXXX)
    wine build/win32/tests/e2e/testHost.exe bench "$(winpath "$(pwd)/build/win32/Launchboard.dll")" \
        "$(winpath "$work")" 2>/dev/null
    rm -rf "$work"
fi
