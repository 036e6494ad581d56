#!/usr/bin/env bash
# Remakes the README's pictures of the pages: runs the control-panel demo on
# the staged padpanel.dll of a Windows tree and keeps its screenshots,
# compressed, in docs/pages/.
#   readme-pictures.sh [TREE]    (default build/win64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=${1:-$top/build/win64}
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
"$top/scripts/demo-panel.sh" --tree "$tree" --out "$out" --headless >/dev/null
mkdir -p "$top/docs/pages"
/usr/bin/python3 - "$out/shots" "$top/docs/pages" <<'PY'
import os, sys
from PIL import Image
src, dst = sys.argv[1], sys.argv[2]
for name in sorted(os.listdir(src)):
    Image.open(os.path.join(src, name)).save(os.path.join(dst, name), optimize=True)
    print("docs/pages/" + name)
PY
