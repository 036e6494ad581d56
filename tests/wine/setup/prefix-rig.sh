# Shared by the package tests (sourced): a fresh prefix of the test's own,
# checks that print a sentence each, and snapshots of the registry and of
# drive_c to compare.
#
#   source prefix-rig.sh WINE_RUN ROOT ARCH PACKAGE TEST_NAME
# sets WINEPREFIX and the rest for the loader of ARCH, starts one wine server
# for the whole run, and keeps its files in $work.
wine_run=$1 root=$2 arch=$3 dist=$4 name=$5
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../../.." && pwd)
source "$repo/scripts/wine-arch.sh"
loader=$(pad_wine_loader "$arch")
w() { "$loader" "$@"; }
work="$root/$name.state"
rm -rf "$work"
mkdir -p "$work"

# A fresh prefix of its own, made from the template like every Wine test's.
"$wine_run" --root "$root" --arch "$arch" --name "$name" --wait -- cmd /c exit 0 >/dev/null 2>&1 || true
export WINEPREFIX="$root/prefixes/$name" WINEARCH="$arch" WINELOADER="$loader" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
[ -f "$WINEPREFIX/system.reg" ] || { echo "FAIL: no fresh prefix at $WINEPREFIX"; exit 1; }
# One wine server for the whole run, so nothing restarts between snapshots.
wineserver -p
trap 'wineserver -k >/dev/null 2>&1 || true' EXIT
windir="$WINEPREFIX/drive_c/windows"

failures=0
check() {  # check "sentence" command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

# The path of a prefix file as Windows programs name it.
winpath() { w winepath -w "$1" 2>/dev/null | tr -d '\r'; }

snapshot() {  # the whole registry and the file list of drive_c, under $work/$1.*
  for hive in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER HKEY_USERS; do
    w regedit /E "$(winpath "$work/$1.$hive.reg")" "$hive"
    iconv -f UTF-16LE -t UTF-8 "$work/$1.$hive.reg" | tr -d '\r' > "$work/$1.$hive.txt"
  done
  # Wine's cmd leaves its pipe files in the temporary folder; they are not the package's.
  (cd "$WINEPREFIX/drive_c" && find . -not -path './users/*/Temp/*' -printf '%y %s %p\n' | sort) > "$work/$1.files"
}

same() {  # same A B: both snapshots alike; the differences are printed
  local rc=0
  for part in HKEY_LOCAL_MACHINE.txt HKEY_CURRENT_USER.txt HKEY_USERS.txt files; do
    diff -u "$work/$1.$part" "$work/$2.$part" | head -40 || rc=1
    cmp -s "$work/$1.$part" "$work/$2.$part" || rc=1
  done
  return $rc
}

# Each file a half's manifest names is in the package and in that half's
# system folder, byte for byte.
half_copies_match() {  # half-folder system-folder
  local from=$1 sysdir="$windir/$2" rc=0 pattern dest f
  [ -f "$from/manifest.txt" ] || { echo "  the package has no $from/manifest.txt"; return 1; }
  while read -r pattern dest; do
    case "$pattern" in
      *'*'*) ;;
      *) [ -f "$from/$pattern" ] || { echo "  not in the package: $from/$pattern"; rc=1; continue; } ;;
    esac
    for f in "$from"/$pattern; do
      [ -e "$f" ] || continue
      local target="$sysdir"
      [ "$dest" = . ] || target="$target/$dest"
      cmp -s "$f" "$target/$(basename "$f")" || { echo "  not installed as in the package: $target/$(basename "$f")"; rc=1; }
    done
  done < <(sed -e 's/#.*//' -e 's/\r$//' "$from/manifest.txt" | awk 'NF >= 2 { print $1, $2 }')
  return $rc
}
installed_copies_match() {  # [package root]
  local from=${1:-$dist}
  if [ "$arch" = win64 ]; then
    half_copies_match "$from" syswow64 && half_copies_match "$from/x64" system32
  else
    half_copies_match "$from" system32
  fi
}
