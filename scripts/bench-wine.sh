#!/usr/bin/env bash
# The driver's figures under Wine: start latency and the step rate of an
# active device, through the staged padforce.dll.
#   bench-wine.sh [TREE]    (default build/win32)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$top/build/win32}" && pwd)
dist=$(sed -n 's/^PAD_DIST_DIR:PATH=//p' "$tree/CMakeCache.txt")
exec "$top/scripts/wine-run.sh" --root "$tree/wine" --name bench -- \
  "$tree/bench/wine/driver_bench.exe" --driver="Z:$dist/padforce.dll"
