# Shared by scripts/install-wine.sh and scripts/uninstall-wine.sh (sourced).
#
#   <script> [--dist DIR] [--no-wait] PREFIX
#
# DIR is the staging folder with the package (default: the repository's dist/).
# The wine server is left to end by itself unless --no-wait is given, so the
# prefix's registry files are complete when the script returns.

repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
dist="$repo/dist"
prefix=""
wait_server=1
while [ $# -gt 0 ]; do
  case "$1" in
    --dist) dist=$2; shift 2 ;;
    --no-wait) wait_server=0; shift ;;
    -h|--help) sed -n '3,8p' "${BASH_SOURCE[0]}" | sed 's/^# \{0,1\}//'; exit 0 ;;
    -*) echo "$(basename "$0"): unknown option $1" >&2; exit 2 ;;
    *) [ -z "$prefix" ] || { echo "$(basename "$0"): one prefix only" >&2; exit 2; }; prefix=$1; shift ;;
  esac
done
[ -n "$prefix" ] || { echo "usage: $(basename "$0") [--dist DIR] [--no-wait] PREFIX" >&2; exit 2; }
[ -f "$dist/manifest.txt" ] || { echo "$(basename "$0"): no package in $dist (build it first)" >&2; exit 1; }
dist=$(cd "$dist" && pwd)
prefix=$(mkdir -p "$prefix" && cd "$prefix" && pwd)

export WINEPREFIX="$prefix" WINEDEBUG=-all
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
if [ ! -d "$prefix/drive_c/windows" ]; then
  WINEARCH=win32 wineboot -i >/dev/null 2>&1
fi

# The DLLs are 32-bit: a 64-bit prefix keeps them, and its 32-bit registry
# tools, in syswow64. The plain regedit and reg of such a prefix are 64-bit and
# write the 64-bit view of the registry, where 32-bit COM never looks for the
# classes; a 32-bit prefix has only the 32-bit ones.
if [ -d "$prefix/drive_c/windows/syswow64" ]; then
  sysdir="$prefix/drive_c/windows/syswow64"
  winsys='C:\windows\syswow64'
  regedit="$winsys\\regedit.exe"
  reg="$winsys\\reg.exe"
else
  sysdir="$prefix/drive_c/windows/system32"
  winsys='C:\windows\system32'
  regedit=regedit
  reg=reg
fi

# Prints "pattern destination" for each line of the manifest.
manifest_lines() {
  sed -e 's/#.*//' -e 's/\r$//' "$dist/manifest.txt" | awk 'NF >= 2 { print $1, $2 }'
}

# The folder under the system directory that a manifest destination names.
destination_dir() {
  if [ "$1" = . ]; then echo "$sysdir"; else echo "$sysdir/$1"; fi
}

finish_wine() {
  if [ "$wait_server" = 1 ]; then wineserver -w; fi
}
