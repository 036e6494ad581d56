#!/usr/bin/env bash
# The figures under Wine of one Windows tree's staged deliverables: the
# driver's start latency and step rate, and the test page's paints and ticks
# in the control-panel host (on a private Xvfb screen).
#   bench-wine.sh [TREE]    (default build/win64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$top/build/win64}" && pwd)
source "$tree/pad-tree.env"
winpath() { printf 'Z:%s' "${1//\//\\}"; }
"$top/scripts/wine-run.sh" --root "$tree/wine" --arch "$arch" --name bench -- \
  "$tree/bench/wine/driver_bench.exe" --driver="$(winpath "$dist/padforce.dll")"
"$top/scripts/wine-run.sh" --root "$tree/wine" --arch "$arch" --name bench-panel --display -- \
  "$tree/bench/wine/panel_bench.exe" --dll="$(winpath "$dist/padpanel.dll")" --data="$(winpath "$dist/Zororo")"
