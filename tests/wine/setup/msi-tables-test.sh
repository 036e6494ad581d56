#!/usr/bin/env bash
# The built package's tables pass the checks the build applies, and those
# checks fail the build for a package with a file in the wrong registry view,
# padsetup run before the files are there, or the older package removed only
# after the new one is in place.
#
#   msi-tables-test.sh MSI ARCH VERSION WORKDIR -- MAKE_MSI...
set -uo pipefail
msi=$1 arch=$2 version=$3 work=$4
shift 4
[ "${1:-}" = -- ] && shift
make_msi=("$@")
msi_dir=$(cd "$(dirname "$0")/../../../install/msi" && pwd)
rm -rf "$work"
mkdir -p "$work"
failures=0
check() {  # check "sentence" command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}

package=$(sed -n 's/.*--package \([^ ]*\).*/\1/p' <<<"${make_msi[*]}")
check "the $arch package is built" test -f "$msi"
python3 "$msi_dir/check_msi.py" "$msi" "$arch" "$version" "$package"
check "its tables pass the checks" test $? = 0

refused() {  # refused NAME SED-EXPRESSION FAULT: a source changed so is refused, for FAULT
  sed "$2" "$msi_dir/pad.wxs" > "$work/$1.wxs"
  cmp -s "$msi_dir/pad.wxs" "$work/$1.wxs" && { echo "  the change $2 changed nothing"; return 1; }
  local said
  said=$("${make_msi[@]}" --version "$version" --wxs "$work/$1.wxs" --work "$work/$1" --out "$work/$1.msi" 2>&1)
  [ $? != 0 ] && [ ! -e "$work/$1.msi" ] && grep -qF -- "$3" <<<"$said" || { echo "$said" | sed 's/^/  /'; return 1; }
}
check "a 32-bit file in a 64-bit component fails the build" \
  refused view 's/<Component Id="padforce32" Guid="\*" Win64="no">/<Component Id="padforce32" Guid="*" Win64="yes">/' \
  "component padforce32 in SystemFolder/. is in the 64-bit view"
check "padsetup run before the files are installed fails the build" \
  refused early-setup 's/<Custom Action="RunPadSetup" Sequence="5100">/<Custom Action="RunPadSetup" Sequence="3900">/' \
  "does not run"
check "the older package removed after the new one is in place fails the build" \
  refused late-removal 's/<RemoveExistingProducts Sequence="1401"\/>/<RemoveExistingProducts Sequence="6601"\/>/' \
  "does not run InstallValidate < RemoveExistingProducts"

echo "$failures failed checks"
[ "$failures" = 0 ]
