#!/usr/bin/env bash
# The driver's figures under Wine: start latency and the step rate of an
# active device, through the staged padforce.dll of one Windows tree.
#   bench-wine.sh [TREE]    (default build/win64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$top/build/win64}" && pwd)
source "$tree/pad-tree.env"
exec "$top/scripts/wine-run.sh" --root "$tree/wine" --arch "$arch" --name bench -- \
  "$tree/bench/wine/driver_bench.exe" --driver="Z:$dist/padforce.dll"
