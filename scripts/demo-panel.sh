#!/usr/bin/env bash
# Opens the pad's property sheet in a fresh Wine prefix, the way the Game
# Controllers control panel opens it.
#
#   demo-panel.sh [--tree DIR] [--out DIR] [--script FILE] [--headless]
#
# The setup package of the built Windows tree (default build/win64; its Wine
# kind and folders are read from the tree's pad-tree.env), padsoft-*-x64.msi
# for a 64-bit tree and padsoft-*-x86.msi for a 32-bit one, is installed into
# a prefix of that kind, OUT/prefix, by Wine's msiexec, silently, as an
# administrator deploys it. Where the tree has no package (the 64-bit one
# needs the 32-bit half built too), the folder package goes in with
# scripts/install-wine.sh, and where that fails, the control-panel host
# registers the staged padpanel.dll and copies its data itself. Then the host opens the sheet: on a display
# ($DISPLAY set, no --headless) it stays up for the user to click through;
# without one it replays a short built-in script (or FILE) on a private
# Xvfb screen and writes a screenshot of each page into OUT/shots
# (default OUT: out/panel-demo).
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
tree="$top/build/win64" out="$top/out/panel-demo" script="" headless=0
while [ $# -gt 0 ]; do
  case "$1" in
    --tree) tree=$(cd "$2" && pwd); shift 2 ;;
    --out) out=$2; shift 2 ;;
    --script) script=$(cd "$(dirname "$2")" && pwd)/$(basename "$2"); shift 2 ;;
    --headless) headless=1; shift ;;
    -h|--help) sed -n '2,16p' "$0" | sed 's/^# \{0,1\}//'; exit 0 ;;
    *) echo "demo-panel.sh: unknown option $1" >&2; exit 2 ;;
  esac
done

[ -f "$tree/pad-tree.env" ] || { echo "demo-panel.sh: $tree is no configured Windows tree" >&2; exit 1; }
source "$tree/pad-tree.env"
source "$top/scripts/wine-arch.sh"
loader=$(pad_wine_loader "$arch")
host="$tree/hosts/cplhost/cplhost.exe"
for f in "$host" "$(dirname "$host")/dinput.dll" "$dist/padpanel.dll" "$dist/Zororo/Setup.ini"; do
  [ -f "$f" ] || { echo "demo-panel.sh: $f is missing; build the tree first" >&2; exit 1; }
done

mkdir -p "$out"
out=$(cd "$out" && pwd)
prefix="$out/prefix" shots="$out/shots"
rm -rf "$prefix" "$shots"
mkdir -p "$shots"
export WINEPREFIX="$prefix" WINEARCH="$arch" WINELOADER="$loader" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
echo "demo-panel.sh: the $arch build's property sheet"

# Wine's Z: drive is the Unix root. (winepath would start a wine server with
# no display, which the host's windows would then join.)
winpath() { printf 'Z:%s' "${1//\//\\}"; }

args=()
if [ "$arch" = win64 ]; then kind=x64; else kind=x86; fi
msi=$(ls -t "$package"/padsoft-*-"$kind".msi 2>/dev/null | head -1 || true)
if [ -n "$msi" ]; then
  "$loader" wineboot -i >/dev/null 2>&1
  rc=0
  "$loader" msiexec /i "$(winpath "$msi")" /qn || rc=$?
  wineserver -w
  [ "$rc" = 0 ] || { echo "demo-panel.sh: msiexec could not install $msi (exit code $rc)" >&2; exit 1; }
  echo "demo-panel.sh: $(basename "$msi") is installed in $prefix (msiexec /i … /qn)"
else
  echo "demo-panel.sh: no setup package $package/padsoft-*-$kind.msi; installing the folder package"
  if "$top/scripts/install-wine.sh" --dist "$package" --arch "$arch" "$prefix"; then
    echo "demo-panel.sh: the package is installed in $prefix"
  else
    echo "demo-panel.sh: no installed package; the host registers $dist/padpanel.dll itself"
    [ -d "$prefix/drive_c/windows" ] || "$loader" wineboot -i >/dev/null 2>&1
    wineserver -w
    args+=(--register "$(winpath "$dist/padpanel.dll")" --data "$(winpath "$dist/Zororo")")
  fi
fi

rc=0
if [ -n "${DISPLAY:-}" ] && [ "$headless" = 0 ] && [ -z "$script" ]; then
  echo "demo-panel.sh: the sheet opens on $DISPLAY; close it to end"
  "$loader" "$host" "${args[@]}" || rc=$?
else
  if [ -n "$script" ]; then args+=(--script "$(winpath "$script")"); else args+=(--demo); fi
  args+=(--shots "$(winpath "$shots")")
  env -u DISPLAY xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$host" "${args[@]}" || rc=$?
  echo "demo-panel.sh: screenshots of the pages are in $shots"
  ls "$shots"
fi
wineserver -w || true
exit $rc
