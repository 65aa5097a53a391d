#!/usr/bin/env bash
# Installs what is missing, builds the program and serves its interface in the browser
# (`examora serve`). Arguments go to the serve command.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
export CCACHE_BASEDIR=${CCACHE_BASEDIR:-$PWD}
cmake -S . -B build-release -G Ninja -DCMAKE_BUILD_TYPE=Release > /dev/null
cmake --build build-release -j "${EXAMORA_JOBS:-2}" --target examora resources > /dev/null
exec build-release/examora serve "$@"
