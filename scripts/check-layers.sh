#!/usr/bin/env bash
# Refuses an include that points up the layer order, a source file that does not open with its
# one-line description, and C++ under src/, server/ and tools/ that clang-format would change.
# Usage: scripts/check-layers.sh [ROOT]   (default: the repository root)
set -uo pipefail
root=${1:-$(cd "$(dirname "$0")/.." && pwd)}
cd "$root" || exit 2

# Bottom first. A layer may include its own headers and those of every layer before it. The
# command line is the very top: its serve command starts the web interface, which knows nothing
# of the command line.
order=(platform app store service engine sync account facade launch web cli)
rank() {
    local i
    for i in "${!order[@]}"; do
        if [ "${order[$i]}" = "$1" ]; then echo "$i"; return; fi
    done
    echo -1
}

status=0
while IFS= read -r file; do
    layer=${file#src/}
    layer=${layer%%/*}
    own=$(rank "$layer")
    [ "$own" -ge 0 ] || continue
    while IFS=: read -r line target; do
        to=$(rank "$target")
        if [ "$to" -gt "$own" ] || { [ "$layer" != "$target" ] && [ "$to" -eq "$own" ]; }; then
            echo "$file:$line: $layer must not include $target/ (a layer above it)"
            status=1
        fi
    done < <(grep -n -o -E '^[[:space:]]*#[[:space:]]*include[[:space:]]+"[a-z_]+/' "$file" |
        sed -E 's/^([0-9]+):.*"([a-z_]+)\/$/\1:\2/')
done < <(find src -name '*.h' -o -name '*.cpp' | sort)

# Every source file opens with one line that says what it is.
while IFS= read -r file; do
    first=$(head -n 1 "$file")
    case "$first" in
        //*) ;;
        *) echo "$file:1: opens without its one-line description"; status=1 ;;
    esac
done < <(find src server tools -name '*.cpp' 2>/dev/null | sort)

if command -v clang-format >/dev/null 2>&1; then
    while IFS= read -r file; do
        if ! clang-format --dry-run -Werror "$file" >/dev/null 2>&1; then
            echo "$file: not formatted (clang-format -i $file)"
            status=1
        fi
    done < <(find src server tools \( -name '*.h' -o -name '*.cpp' \) 2>/dev/null | sort)
fi

[ "$status" -eq 0 ] && echo "layers: every include points down"
exit "$status"
