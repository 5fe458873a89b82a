#!/bin/bash
# Builds and runs the benchmarks, and reports each as a ratio to the floor measured in the
# same run (the benchmark whose name starts with "floor").
set -eu
cd "$(dirname "$0")/.."
tools/setup.sh
cmake --preset bench >/dev/null
cmake --build --preset bench >/dev/null
for bench in build/bench/bench/*Bench; do
    "$bench" --benchmark_format=json --benchmark_repetitions=3 --benchmark_report_aggregates_only=true |
        python3 -c '
import json, sys
runs = [b for b in json.load(sys.stdin)["benchmarks"] if b.get("aggregate_name") == "median"]
floor = next(b["real_time"] for b in runs if b["run_name"].startswith("floor"))
for b in runs:
    print("%-22s %9.2f %s   %6.2f x floor" % (b["run_name"], b["real_time"], b["time_unit"], b["real_time"] / floor))
'
done
