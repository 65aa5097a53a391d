#!/usr/bin/env bash
# Installs what is missing, builds Release with -Werror and runs every test, then builds Debug with
# AddressSanitizer and UndefinedBehaviorSanitizer and runs every test again.
# Usage: scripts/test.sh [release|sanitize|all]   (default: all)
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh

mode=${1:-all}

# Layers point one way, every source file says what it is, and the C++ is formatted.
bash scripts/check-layers.sh

jobs=${EXAMORA_JOBS:-2}
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}

run_build() {
    local dir=$1 type=$2 sanitize=$3
    cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE="$type" -DEXAMORA_WERROR=ON \
        -DEXAMORA_SANITIZE="$sanitize"
    cmake --build "$dir" -j "$jobs"
    ctest --test-dir "$dir" --output-on-failure -j "$jobs" --timeout 300
}

# The browser test's Node packages: installed from the lock file when missing or older than it.
browser_dir=tests/browser
if [ -f "$browser_dir/package-lock.json" ] && command -v npm >/dev/null 2>&1; then
    if [ ! -f "$browser_dir/node_modules/.package-lock.json" ] ||
        [ "$browser_dir/package-lock.json" -nt "$browser_dir/node_modules/.package-lock.json" ]; then
        (cd "$browser_dir" && npm ci --no-audit --no-fund)
    fi
fi

if [ "$mode" = release ] || [ "$mode" = all ]; then
    run_build build-release Release OFF
    # The benchmarks run once at their smallest size so they keep building and running.
    if [ -x scripts/bench-smoke.sh ]; then bash scripts/bench-smoke.sh build-release; fi
fi
if [ "$mode" = sanitize ] || [ "$mode" = all ]; then
    export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
    export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
    run_build build-sanitize Debug ON
fi
