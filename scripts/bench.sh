#!/usr/bin/env bash
# Prints the project's speed figures, one line each: build.name value unit,
# the build being native or the Windows tree that ran under Wine.
#   bench.sh [TREE]    (default build/win64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$top/build/win64}" && pwd)
source "$tree/pad-tree.env"
named() { sed -u "/^#/!s/^/$1./"; }
echo "# playback step, native"
"$top/build/native/bench/native/engine_bench" | named native
echo "# driver and property sheet under Wine, $arch build"
"$top/scripts/bench-wine.sh" "$tree" | named "$arch"
