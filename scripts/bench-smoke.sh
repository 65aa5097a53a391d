#!/usr/bin/env bash
# Runs every built benchmark program once at its smallest size, so that CI keeps the benchmarks
# building and running. Not a measurement: timings from this run mean nothing.
# Usage: scripts/bench-smoke.sh BUILD_DIR
set -euo pipefail

build_dir=${1:?usage: $0 BUILD_DIR}
bench_dir=$build_dir/bench
if [ ! -d "$bench_dir" ]; then
    echo "no benchmarks built in $bench_dir" >&2
    exit 1
fi

export EXAMORA_BENCH_SMALL=1
# The whole run stays under a minute: each program gets what is left of the budget.
deadline=$((SECONDS + 55))
status=0
found=0
for program in "$bench_dir"/*; do
    [ -f "$program" ] && [ -x "$program" ] || continue
    found=1
    left=$((deadline - SECONDS))
    if [ "$left" -le 0 ]; then
        echo "time budget spent before $program" >&2
        status=1
        break
    fi
    echo "== $(basename "$program")"
    if ! timeout "$left" "$program" --benchmark_min_time=0.01 --benchmark_repetitions=1 >/dev/null; then
        echo "benchmark failed: $program" >&2
        status=1
    fi
done
if [ "$found" -eq 0 ]; then
    echo "no benchmark programs in $bench_dir" >&2
    exit 1
fi
exit $status
