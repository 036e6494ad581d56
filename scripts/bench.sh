#!/usr/bin/env bash
# Prints the project's speed figures, one line each: name value unit.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
echo "# playback step, native"
"$top/build/native/bench/native/engine_bench"
if [ -x "$top/scripts/bench-wine.sh" ]; then
  echo "# driver under Wine"
  "$top/scripts/bench-wine.sh" "$top/build/win32"
fi
