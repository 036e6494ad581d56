#!/usr/bin/env bash
# Records the pages' reference pictures from a Windows tree's staged
# padpanel.dll and keeps them, compressed, in tests/wine/panel/pictures/.
# Only for a change that means to change what the pages show.
#   record-page-pictures.sh [TREE]    (default build/win64)
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree=$(cd "${1:-$top/build/win64}" && pwd)
source "$tree/pad-tree.env"
out=$(mktemp -d)
trap 'rm -rf "$out"' EXIT
PAD_PICTURES_RECORD="Z:${out//\//\\}" "$top/scripts/wine-run.sh" --root "$tree/wine" --arch "$arch" \
  --name record-pictures --display -- "$tree/tests/wine/panel/panel_picture_tests.exe" \
  --gtest_filter='Pages/PagePictures.*'
mkdir -p "$top/tests/wine/panel/pictures"
/usr/bin/python3 - "$out" "$top/tests/wine/panel/pictures" <<'PY'
import os, sys
from PIL import Image
src, dst = sys.argv[1], sys.argv[2]
for name in sorted(os.listdir(src)):
    png = os.path.splitext(name)[0] + ".png"
    Image.open(os.path.join(src, name)).save(os.path.join(dst, png), optimize=True)
    print("tests/wine/panel/pictures/" + png)
PY
