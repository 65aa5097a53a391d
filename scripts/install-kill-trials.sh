#!/usr/bin/env bash
# Kills a package install at random points, 200 times by default, and prints how each trial
# ended: the course must hold its old or its new content with every learner column intact.
# Usage: scripts/install-kill-trials.sh [TRIALS] [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
trials=${1:-200}
build=${2:-build-release}
cmake --build "$build" -j2 --target test_integration >/dev/null
EXAMORA_KILL_TRIALS=$trials EXAMORA_RESOURCES=$PWD/$build/resources \
  "$build/tests/test_integration" \
  --gtest_filter='CoursePackageTest.AKilledInstallLeavesOldOrNewContentAndLosesNoAnswer' \
  2>&1 | grep -E '^kill trials:|Failure|integrity|\[  (PASSED|FAILED)' || true
