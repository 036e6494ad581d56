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
package_test=$5
source "$(dirname "$0")/prefix-rig.sh" "$1" "$2" "$3" "$4" wine.setup.install

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
