#!/usr/bin/env bash
# Runs one Windows program under Wine in a fresh prefix of its own.
#
#   wine-run.sh --root DIR --name NAME [--arch win32|win64] [--display] [--wait]
#               [--override DLL=MODE]... -- PROGRAM [ARGS...]
#
# --arch picks the loader and the prefix kind (default win32): Wine's 32-bit
# loader for win32, its 64-bit loader and a 64-bit prefix for win64. The first
# call under DIR creates a template prefix (no Mono or Gecko installer dialogs); every call then gets DIR/prefixes/NAME as a hard-linked
# copy of it with private registry files, so tests never share state and
# never touch the user's own prefix. --display runs the program on a private
# Xvfb screen. --wait lets the wine server end by itself, so the registry
# files on disk are complete when the script returns; otherwise it is stopped
# at once (it saves the registry on the way out). The program's exit code is
# the script's.
#
# Files of the template are shared through their hard links: a program under
# test may add files anywhere but must not overwrite Wine's own.
set -euo pipefail

root="" name="" arch=win32 display=0 wait=0 overrides="mscoree,mshtml="
while [ $# -gt 0 ]; do
  case "$1" in
    --root) root=$2; shift 2 ;;
    --name) name=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --display) display=1; shift ;;
    --wait) wait=1; shift ;;
    --override) overrides="$overrides;$2"; shift 2 ;;
    --) shift; break ;;
    *) echo "wine-run.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ -n "$root" ] && [ -n "$name" ] && [ $# -gt 0 ] || { echo "usage: wine-run.sh --root DIR --name NAME -- PROGRAM [ARGS...]" >&2; exit 2; }

mkdir -p "$root"
root=$(cd "$root" && pwd)  # Wine wants an absolute prefix path

source "$(dirname "$0")/wine-arch.sh"
loader=$(pad_wine_loader "$arch") || { echo "wine-run.sh: --arch is win32 or win64, not $arch" >&2; exit 2; }
[ -x "$loader" ] || { echo "wine-run.sh: Wine's $arch loader $loader is not installed" >&2; exit 127; }
export WINEARCH=$arch WINELOADER=$loader WINEDEBUG=-all
export WINEDLLOVERRIDES="$overrides"
unset DISPLAY

template="$root/template"
mkdir -p "$root/prefixes"
(
  flock 9
  if [ ! -f "$template/.ready" ]; then
    rm -rf "$template"
    WINEPREFIX="$template" WINEDLLOVERRIDES="mscoree,mshtml=" "$loader" wineboot -i >/dev/null 2>&1
    WINEPREFIX="$template" wineserver -w
    touch "$template/.ready"
  fi
) 9>"$root/.template.lock"

prefix="$root/prefixes/$name"
if [ -d "$prefix" ]; then
  WINEPREFIX="$prefix" wineserver -k >/dev/null 2>&1 || true
  rm -rf "$prefix"
fi
cp -al "$template" "$prefix"
rm -f "$prefix/.ready"
for reg in "$prefix"/*.reg; do
  cp --remove-destination "$template/$(basename "$reg")" "$reg"
done
export WINEPREFIX="$prefix"

rc=0
if [ "$display" = 1 ]; then
  xvfb-run -a -s "-screen 0 1280x1024x24" "$loader" "$@" || rc=$?
else
  "$loader" "$@" || rc=$?
fi

if [ "$wait" = 1 ]; then
  wineserver -w
else
  wineserver -k >/dev/null 2>&1 || true
fi
exit $rc
