# Shared by scripts/install-wine.sh and scripts/uninstall-wine.sh (sourced).
#
#   <script> [--dist DIR] [--arch win32|win64] [--no-wait] PREFIX
#
# DIR is the package's root folder (default: the repository's dist/): the
# 32-bit half and the package files, with the 64-bit half in DIR/x64. A
# prefix that does not exist yet is made of the kind --arch names (default
# win64 when the package has a 64-bit half). The wine server is left to end by
# itself unless --no-wait is given, so the prefix's registry files are
# complete when the script returns.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
source "$repo/scripts/wine-arch.sh"
dist="$repo/dist"
prefix=""
arch=""
wait_server=1
while [ $# -gt 0 ]; do
  case "$1" in
    --dist) dist=$2; shift 2 ;;
    --arch) arch=$2; shift 2 ;;
    --no-wait) wait_server=0; shift ;;
    -h|--help) sed -n '3,11p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "$(basename "$0"): unknown option $1" >&2; exit 2 ;;
    *) [ -z "$prefix" ] || { echo "$(basename "$0"): one prefix only" >&2; exit 2; }; prefix=$1; shift ;;
  esac
done
[ -n "$prefix" ] || { echo "usage: $(basename "$0") [--dist DIR] [--arch win32|win64] [--no-wait] PREFIX" >&2; exit 2; }
[ -f "$dist/register.reg" ] || { echo "$(basename "$0"): no package in $dist (build it first)" >&2; exit 1; }
dist=$(cd "$dist" && pwd)
prefix=$(mkdir -p "$prefix" && cd "$prefix" && pwd)

# The prefix's kind decides everything else; a new one is made first.
if [ -f "$prefix/system.reg" ]; then
  if grep -q '^#arch=win64' "$prefix/system.reg"; then arch=win64; else arch=win32; fi
elif [ -z "$arch" ]; then
  if [ -f "$dist/x64/manifest.txt" ]; then arch=win64; else arch=win32; fi
fi
loader=$(pad_wine_loader "$arch") || { echo "$(basename "$0"): --arch is win32 or win64" >&2; exit 2; }
export WINEPREFIX="$prefix" WINEARCH="$arch" WINELOADER="$loader" WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
w() { "$loader" "$@"; }
if [ ! -d "$prefix/drive_c/windows" ]; then
  w wineboot -i >/dev/null 2>&1
fi

# Where each half goes, one "folder-of-the-half system-folder" line each. A
# 64-bit prefix, like 64-bit Windows, keeps 32-bit files in syswow64 and its
# own in system32; the setup tools that run are of the prefix's own bitness.
if [ "$arch" = win64 ]; then
  halves=("$dist syswow64" "$dist/x64 system32")
  tools="$dist/x64"
  [ -f "$tools/manifest.txt" ] || { echo "$(basename "$0"): a 64-bit prefix needs the package's 64-bit half, $tools" >&2; exit 1; }
else
  halves=("$dist system32")
  tools="$dist"
fi
winsys='C:\windows\system32'

# Prints "pattern destination" for each line of a half's manifest.
manifest_lines() {  # half-folder
  [ -f "$1/manifest.txt" ] || return 0
  sed -e 's/#.*//' -e 's/\r$//' "$1/manifest.txt" | awk 'NF >= 2 { print $1, $2 }'
}

# The folder of the prefix that a manifest destination names.
destination_dir() {  # system-folder destination
  if [ "$2" = . ]; then echo "$prefix/drive_c/windows/$1"; else echo "$prefix/drive_c/windows/$1/$2"; fi
}

# Every registry view a class must be found in: both on 64-bit Windows.
views() { if [ "$arch" = win64 ]; then echo /reg:32 /reg:64; fi; }

finish_wine() {
  if [ "$wait_server" = 1 ]; then wineserver -w; fi
}
