#!/usr/bin/env bash
# Builds the libFuzzer targets (fuzz/fuzz_*.cpp) with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a while. Not part of CI.
# Usage: scripts/fuzz.sh [seconds per target, default 60] [target names...]
# Each target starts from fuzz/corpus/<name>/ and uses fuzz/<name>.dict when present; the
# growing corpus and any crash inputs stay under build-fuzz/.
set -euo pipefail
cd "$(dirname "$0")/.."
seconds=${1:-60}
shift || true
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}

cmake -S . -B build-fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_C_COMPILER=clang -DCMAKE_CXX_COMPILER=clang++ \
    -DEXAMORA_FUZZ=ON -DEXAMORA_BENCH=OFF > /dev/null

if [ $# -gt 0 ]; then
    targets=("$@")
else
    targets=()
    for src in fuzz/fuzz_*.cpp; do targets+=("$(basename "$src" .cpp)"); done
fi
cmake --build build-fuzz -j "${EXAMORA_JOBS:-2}" --target "${targets[@]}"

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
status=0
for target in "${targets[@]}"; do
    name=${target#fuzz_}
    work=build-fuzz/fuzz-work/$name
    mkdir -p "$work/corpus" "$work/artifacts"
    if [ -d "fuzz/corpus/$name" ]; then cp -n fuzz/corpus/"$name"/* "$work/corpus/" 2>/dev/null || true; fi
    args=(-max_total_time="$seconds" -max_len=65536 -rss_limit_mb=2048 -timeout=10
          -artifact_prefix="$work/artifacts/" -print_final_stats=1)
    if [ -f "fuzz/$name.dict" ]; then args+=(-dict="fuzz/$name.dict"); fi
    echo "== $target (${seconds}s)"
    if "build-fuzz/fuzz/$target" "${args[@]}" "$work/corpus" > "$work/last-run.log" 2>&1; then
        tail -n 15 "$work/last-run.log"
    else
        tail -n 60 "$work/last-run.log"
        echo "!! $target failed; inputs in $work/artifacts/, log in $work/last-run.log"
        status=1
    fi
done
exit $status
