#!/usr/bin/env bash
# The layer check refuses an include that points up and accepts one that points down.
set -u
check=$(cd "$(dirname "$0")/../.." && pwd)/scripts/check-layers.sh
tree=$(mktemp -d)
trap 'rm -rf "$tree"' EXIT
mkdir -p "$tree/src/store" "$tree/src/engine" "$tree/src/web" "$tree/src/cli"
printf '// A store file.\n#include "platform/log.h"\n' >"$tree/src/store/a.cpp"
printf '// An engine file.\n#include "engine/b.h"\n#include "store/a.h"\n' >"$tree/src/engine/b.cpp"
if ! out=$(bash "$check" "$tree" 2>&1); then
    echo "FAIL: a tree that only includes downwards was refused: $out"; exit 1
fi
printf '// A store file.\n#include "platform/log.h"\n#include "engine/course_util.h"\n' >"$tree/src/store/a.cpp"
if out=$(bash "$check" "$tree" 2>&1); then
    echo "FAIL: an upward include was accepted"; exit 1
fi
case "$out" in *"src/store/a.cpp:3: store must not include engine/"*) ;; *) echo "FAIL: $out"; exit 1 ;; esac
printf '// A store file.\n' >"$tree/src/store/a.cpp"
printf '// The web interface.\n#include "cli/launch_command.h"\n' >"$tree/src/web/w.cpp"
if bash "$check" "$tree" >/dev/null 2>&1; then
    echo "FAIL: the web interface reached into the command line"; exit 1
fi
rm "$tree/src/web/w.cpp"
printf '// A command.\n#include "web/web_app.h"\n' >"$tree/src/cli/serve_command.cpp"
if ! out=$(bash "$check" "$tree" 2>&1); then
    echo "FAIL: the command line may start the web interface: $out"; exit 1
fi
rm "$tree/src/cli/serve_command.cpp"
printf '#include "platform/log.h"\n' >"$tree/src/cli/c.cpp"
if bash "$check" "$tree" >/dev/null 2>&1; then
    echo "FAIL: a source file without its opening line was accepted"; exit 1
fi
echo "layer check: 1 passed, 0 failed"
