#!/usr/bin/env bash
# Installs the package into a fresh Wine prefix twice, uninstalls it twice,
# and checks that the registry and the files come back as they were; does the
# same once with the package's Windows commands under Wine's cmd; then
# installs it again and runs the test program that reaches the installed
# driver the way DirectInput does.
#
#   install-roundtrip.sh WINE_RUN ROOT DIST INSTALLED_PACKAGE_TEST
set -uo pipefail
wine_run=$1 root=$2 dist=$3 package_test=$4
repo=$(cd "$(dirname "$0")/../../.." && pwd)
name=wine.setup.install
work="$root/$name.state"
rm -rf "$work"
mkdir -p "$work"

# A fresh prefix of its own, made from the template like every Wine test's.
"$wine_run" --root "$root" --name "$name" --wait -- cmd /c exit 0 >/dev/null 2>&1 || true
export WINEPREFIX="$root/prefixes/$name" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
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
    wine regedit /E "$(winepath -w "$work/$1.$hive.reg")" "$hive"
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

# Each file the manifest names is in the package and in the system directory,
# byte for byte; a "*" pattern may match nothing (the panel's pictures and
# sounds are not all in the tree yet).
installed_copies_match() {
  local rc=0 pattern dest f
  local sysdir="$WINEPREFIX/drive_c/windows/system32"
  [ -d "$WINEPREFIX/drive_c/windows/syswow64" ] && sysdir="$WINEPREFIX/drive_c/windows/syswow64"
  while read -r pattern dest; do
    case "$pattern" in
      *'*'*) ;;
      *) [ -f "$dist/$pattern" ] || { echo "  not in the package: $pattern"; rc=1; continue; } ;;
    esac
    for f in "$dist"/$pattern; do
      [ -e "$f" ] || continue
      local target="$sysdir"
      [ "$dest" = . ] || target="$target/$dest"
      cmp -s "$f" "$target/$(basename "$f")" || { echo "  not installed: $target/$(basename "$f")"; rc=1; }
    done
  done < <(sed -e 's/#.*//' -e 's/\r$//' "$dist/manifest.txt" | awk 'NF >= 2 { print $1, $2 }')
  return $rc
}

snapshot before
"$repo/scripts/install-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX"
check "the install command succeeds" test $? = 0
snapshot installed
check "every file the manifest names is in the package and in the system directory" installed_copies_match
check "the OEM type key is written" grep -qi 'Joystick\\OEM\\VID_7A3C&PID_A02f\]' "$work/installed.HKEY_LOCAL_MACHINE.txt"
check "both classes are registered" \
  grep -qi 'CLSID\\{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}\\InprocServer32\]' "$work/installed.HKEY_LOCAL_MACHINE.txt"

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

wine cmd /c "$(winepath -w "$dist/install.bat")"
check "install.bat succeeds" test $? = 0
snapshot batch-installed
check "install.bat leaves the prefix as the install command does" same installed batch-installed
wine cmd /c "$(winepath -w "$dist/uninstall.bat")"
check "uninstall.bat succeeds" test $? = 0
snapshot batch-removed
check "install.bat then uninstall.bat leave the registry and the files as they were" same before batch-removed

"$repo/scripts/install-wine.sh" --no-wait --dist "$dist" "$WINEPREFIX" >/dev/null
check "the package installs again after an uninstall" test $? = 0
wine "$package_test"
check "the installed driver and panel are reached through their registration" test $? = 0

echo "$failures failed checks"
[ "$failures" = 0 ]
