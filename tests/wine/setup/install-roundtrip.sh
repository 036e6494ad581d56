#!/usr/bin/env bash
# Installs the package into a fresh Wine prefix twice, uninstalls it twice,
# and checks that the registry and the files come back as they were; does the
# same once with the package's Windows commands under Wine's cmd; then
# installs it again and runs the test program that reaches the installed
# driver the way DirectInput does. A win64 prefix takes both halves of the
# package, as 64-bit Windows does.
#
#   install-roundtrip.sh WINE_RUN ROOT ARCH PACKAGE INSTALLED_PACKAGE_TEST
set -uo pipefail
wine_run=$1 root=$2 arch=$3 dist=$4 package_test=$5
repo=$(cd "$(dirname "$0")/../../.." && pwd)
source "$repo/scripts/wine-arch.sh"
loader=$(pad_wine_loader "$arch")
w() { "$loader" "$@"; }
name=wine.setup.install
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

failures=0
check() {  # check "sentence" command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

snapshot() {  # the whole registry and the file list of drive_c, under $work/$1.*
  for hive in HKEY_LOCAL_MACHINE HKEY_CURRENT_USER HKEY_USERS; do
    w regedit /E "$(w winepath -w "$work/$1.$hive.reg")" "$hive"
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
# system folder, byte for byte; a "*" pattern may match nothing (the panel's
# pictures and sounds are not all in the tree yet).
half_copies_match() {  # half-folder system-folder
  local from=$1 sysdir="$WINEPREFIX/drive_c/windows/$2" rc=0 pattern dest f
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
      cmp -s "$f" "$target/$(basename "$f")" || { echo "  not installed: $target/$(basename "$f")"; rc=1; }
    done
  done < <(sed -e 's/#.*//' -e 's/\r$//' "$from/manifest.txt" | awk 'NF >= 2 { print $1, $2 }')
  return $rc
}
installed_copies_match() {
  if [ "$arch" = win64 ]; then
    half_copies_match "$dist" syswow64 && half_copies_match "$dist/x64" system32
  else
    half_copies_match "$dist" system32
  fi
}

snapshot before
"$repo/scripts/install-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX"
check "the install command succeeds" test $? = 0
snapshot installed
check "every file the manifest names is in the package and in the system directory" installed_copies_match
check "the OEM type key is written" grep -qi 'Joystick\\OEM\\VID_7A3C&PID_A02f\]' "$work/installed.HKEY_LOCAL_MACHINE.txt"
check "both classes are registered" \
  grep -qi 'Software\\Classes\\CLSID\\{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}\\InprocServer32\]' "$work/installed.HKEY_LOCAL_MACHINE.txt"
if [ "$arch" = win64 ]; then
  check "both classes are registered in the 32-bit view too" \
    grep -qi 'Wow6432Node\\Classes\\CLSID\\{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}\\InprocServer32\]' "$work/installed.HKEY_LOCAL_MACHINE.txt"
fi

"$repo/scripts/install-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX" >/dev/null
check "the install command succeeds a second time" test $? = 0
snapshot reinstalled
check "installing twice leaves the prefix as installing once" same installed reinstalled

"$repo/scripts/uninstall-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX"
check "the uninstall command succeeds" test $? = 0
snapshot removed
check "install then uninstall leaves the registry and the files as they were" same before removed

"$repo/scripts/uninstall-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX" >/dev/null
check "the uninstall command succeeds a second time" test $? = 0
snapshot removed-again
check "uninstalling twice changes nothing more" same removed removed-again

w cmd /c "$(w winepath -w "$dist/install.bat")"
check "install.bat succeeds" test $? = 0
snapshot batch-installed
check "install.bat leaves the prefix as the install command does" same installed batch-installed
w cmd /c "$(w winepath -w "$dist/uninstall.bat")"
check "uninstall.bat succeeds" test $? = 0
snapshot batch-removed
check "install.bat then uninstall.bat leave the registry and the files as they were" same before batch-removed

"$repo/scripts/install-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX" >/dev/null
check "the package installs again after an uninstall" test $? = 0
w "$package_test"
check "the installed driver and panel are reached through their registration" test $? = 0

echo "$failures failed checks"
[ "$failures" = 0 ]
