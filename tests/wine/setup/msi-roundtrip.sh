#!/usr/bin/env bash
# The Windows Installer package in a fresh Wine prefix, through Wine's
# msiexec. A silent install: every file of the manifests, byte for byte, the
# classes and the effect list in each registry view, padsetup's OEM type
# entry, the uninstall entry and its icon; the driver and the sheet reached
# through what was installed. A repair by running the package again and one
# through the product code, each after a DLL was deleted; a downgrade
# refused with a message; the removal: padremove ran and nothing of the
# package is left, while the user's settings record and profile stay. Then
# an upgrade from an older package built here from the same source.
#
#   msi-roundtrip.sh WINE_RUN ROOT ARCH PACKAGE MSI VERSION PACKAGE_TEST CPLHOST DIHOST ANSWER -- MAKE_MSI...
#
# MAKE_MSI is the build's make-msi.py command without --version, --work and
# --out. Runs on a screen of its own (the sheet and the refusal are windows).
set -uo pipefail
msi=$5 version=$6 package_test=$7 cplhost=$8 dihost=$9 answer=${10}
rig=("$1" "$2" "$3" "$4")
shift 10
[ "${1:-}" = -- ] && shift
make_msi=("$@")
source "$(dirname "$0")/prefix-rig.sh" "${rig[@]}" wine.setup.msi
here=$(cd "$(dirname "$0")" && pwd)

[ -f "$msi" ] || { echo "FAIL: no package $msi (the build leaves it out until both halves are built)"; exit 1; }
property() { msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' -v p="$1" '$1 == p { print $2 }'; }
product=$(property ProductName) maker=$(property Manufacturer) code=$(property ProductCode)
# The folder and registry view of the package's native half, and of the 32-bit one.
native=system32 native_half="$dist/x64" other=syswow64 view=(/reg:64) view32=(/reg:32)
settings_key='HKEY_LOCAL_MACHINE\Software\Wow6432Node\ZevEreRaverav'
[ "$arch" = win64 ] || { native_half=$dist other=system32 view=() view32=() settings_key='HKEY_LOCAL_MACHINE\Software\ZevEreRaverav'; }
msiexec() { w msiexec "$@" >/dev/null 2>&1; }

# An older version, one step down, from a copy of the package in which
# Setup.ini differs and one picture more was shipped.
older_version() {
  local IFS=. fields i
  read -ra fields <<<"$1"
  local max=(255 255 65535)
  for ((i = ${#fields[@]} - 1; i >= 0; i--)); do
    if [ "${fields[$i]}" -gt 0 ]; then fields[$i]=$((fields[$i] - 1)); break; fi
    fields[$i]=${max[$i]}
  done
  echo "${fields[*]}"
}
older=$(older_version "$version")
old="$work/older-package"
cp -al "$dist" "$old"
for half in "$old" "$old/x64"; do
  [ -f "$half/manifest.txt" ] || continue
  cp --remove-destination "$half/Zororo/Setup.ini" "$half/Zororo/Setup.ini.new"
  echo "; the older package" >> "$half/Zororo/Setup.ini.new"
  mv "$half/Zororo/Setup.ini.new" "$half/Zororo/Setup.ini"
  cp "$half/Zororo/Image/BKV.bmp" "$half/Zororo/Image/Older.bmp"
done
older_msi="$work/older-$older.msi"
"${make_msi[@]}" --package "$old" --version "$older" --work "$work/older-build" --out "$older_msi" >/dev/null
check "an older package ($older) is built from the same source" test -f "$older_msi"

# What the checks read: each uninstall entry named as the product, as
# "version|publisher", from a snapshot.
entries() {
  awk -v name="\"DisplayName\"=\"$product\"" '
    /^\[/ { inside = ($0 ~ /^\[HKEY_LOCAL_MACHINE\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\/); found = 0; ver = ""; pub = "" }
    inside && $0 == name { found = 1 }
    inside && /^"DisplayVersion"=/ { ver = substr($0, 18) }
    inside && /^"Publisher"=/ { pub = substr($0, 13) }
    inside && $0 == "" && found { print ver "|" pub; found = 0 }
  ' "$work/$1.HKEY_LOCAL_MACHINE.txt"
}
one_entry() { [ "$(entries "$1")" = "\"$2\"|\"$maker\"" ] || { echo "  entries: $(entries "$1" | tr '\n' ' ')"; return 1; }; }
has_key() { grep -qixF "[$2]" "$work/$1.HKEY_LOCAL_MACHINE.txt"; }
lacks_key() { ! has_key "$@"; }
values_of() {  # snapshot key: the value lines of the key
  K="[$2]" awk 'tolower($0) == tolower(ENVIRON["K"]) { on = 1; next } /^\[/ { on = 0 } on && NF' "$work/$1.HKEY_LOCAL_MACHINE.txt"
}
classes_in_view() {  # snapshot, classes root
  local clsid
  for clsid in '{5D1C2A90-7A3C-A02F-8E41-00104B7C3D21}' '{2E8B4F16-7A3C-A02F-C5D2-0040A1E6B937}'; do
    has_key "$1" "HKEY_LOCAL_MACHINE\\$2\\CLSID\\$clsid\\InprocServer32" || return 1
  done
}
oem='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\MediaProperties\PrivateProperties\Joystick\OEM\VID_7A3C&PID_A02f'
effects_seen_in() {  # registry view flag: the seven effect types, as that view's readers see them
  [ "$(w reg query "$oem\\OEMForceFeedback\\Effects" "$@" 2>/dev/null | tr -d '\r' | grep -c '^HKEY.*\\{')" = 7 ]
}
icon_installed() {  # snapshot: the product's icon, where the installer keeps it, is the panel's icon
  local path
  path=$(sed -n 's/^"ProductIcon"="\(.*\)"$/\1/p' "$work/$1.HKEY_LOCAL_MACHINE.txt" | sed 's/\\\\/\\/g')
  [ -n "$path" ] && cmp -s "$repo/panel/padpanel.ico" "$WINEPREFIX/drive_c/$(echo "${path#?:\\}" | tr '\\' /)"
}
settings_kept() { w reg query 'HKLM\Software\ZevEreRaverav\47' /v CurrentValue "${view32[@]}" 2>/dev/null | tr -d '\r' | grep -q "REG_BINARY *$record"; }
profile_kept() { cmp -s "$work/mine.sav" "$windir/$native/GameSave/mine.sav"; }
# A key of the Windows 98 device registry that only padremove deletes.
seed_usb_key() { w reg add 'HKLM\Enum\USB\VID_7A3C&PID_A02F' /f >/dev/null; }
# What Wine's installer keeps for itself: these keys, empty, and its folder.
bookkeeping=(--installer ./windows/Installer)
for key in Classes\\Installer{,\\Features,\\Products,\\UpgradeCodes} \
           Microsoft\\Windows\\CurrentVersion\\Installer\\{UpgradeCodes,UserData{,\\S-1-5-18{,\\Components,\\Products}}}; do
  bookkeeping+=(--installer "HKEY_LOCAL_MACHINE\\Software\\$key")
done
compare_removed() {  # snapshot
  python3 "$here/compare-snapshots.py" "$work" before "$1" "${bookkeeping[@]}" \
    --gone 'HKEY_LOCAL_MACHINE\Enum\USB\VID_7A3C&PID_A02F' --kept "$settings_key" --kept "./windows/$native/GameSave" \
    --wine-key 'HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\Video'
}

seed_usb_key
snapshot before

# The silent install.
msiexec /i "$(winpath "$msi")" /qn
check "the package installs silently" test $? = 0
snapshot installed
check "every file the manifests name is installed where they say, byte for byte" installed_copies_match
check "both classes are registered in the native view" classes_in_view installed 'Software\Classes'
if [ "$arch" = win64 ]; then
  check "both classes are registered in the 32-bit view" classes_in_view installed 'Software\Wow6432Node\Classes'
  check "32-bit programs see the effect list" effects_seen_in /reg:32
fi
check "the effect list offers seven effect types" effects_seen_in "${view[@]}"
check "padsetup wrote the OEM type entry" grep -qx '"OEMName"="Zuraza Zirude joystick Zudavar"' <(values_of installed "$oem")
check "one uninstall entry names the product, version $version and $maker" one_entry installed "$version"
check "the uninstall entry's product carries the panel's icon" icon_installed installed

w "$package_test" >"$work/package-test.log" 2>&1
check "the installed driver and sheet are reached through their registration" test $? = 0 || tail -20 "$work/package-test.log"
printf 'download constant mag=10000 dur=200ms start\nwait 300ms\n' > "$work/effect.txt"
w "$dihost" --driver "C:\\windows\\system32\\padforce.dll" --script "$(winpath "$work/effect.txt")" \
  --no-settings --quiet --out "$(winpath "$work/dihost")" >"$work/dihost.log" 2>&1
check "the DirectInput host plays an effect through the installed driver" test $? = 0
motors_ran() { awk -F, 'NR > 1 && ($2 > 0 || $3 > 0) { ran = 1 } END { exit !ran }' "$work/dihost/reports.csv"; }
check "the pad's motors ran" motors_ran
mkdir -p "$work/shots"
printf 'page 5\nshot about.png\n' > "$work/sheet.txt"
w "$cplhost" --script "$(winpath "$work/sheet.txt")" --shots "$(winpath "$work/shots")" >"$work/cplhost.log" 2>&1
check "the control-panel host opens the installed sheet" test $? = 0
check "the sheet was drawn" test -s "$work/shots/about.png"

# Running the package again, and a repair through the product code as the
# uninstall entry does it, each put back a DLL that was deleted.
rm -f "$windir/$native/padforce.dll"
msiexec /i "$(winpath "$msi")" /qn
check "running the package again succeeds" test $? = 0
check "running the package again puts back a deleted padforce.dll" cmp -s "$native_half/padforce.dll" "$windir/$native/padforce.dll"
rm -f "$windir/$other/padforce.dll"
msiexec /i "$code" REINSTALL=ALL REINSTALLMODE=omus /qn
check "a repair succeeds" test $? = 0
check "a repair puts back a deleted padforce.dll" cmp -s "$dist/padforce.dll" "$windir/$other/padforce.dll"

# A downgrade, as a user starting the older package sees it.
w "$answer" msiexec /i "$(winpath "$older_msi")" /qb >"$work/downgrade.log" 2>&1
check "the older package is refused" grep -qx 'exit code: 1603' <(tr -d '\r' < "$work/downgrade.log")
check "with a message saying why" grep -qF "A newer version of $product is already installed." "$work/downgrade.log"
snapshot refused
check "the newer package stays installed" one_entry refused "$version"

# The user's settings and a profile, then the removal.
record=$(printf '%02X' $(seq 1 112) | tr -d '\n')
w reg add 'HKLM\Software\ZevEreRaverav\47' /v CurrentValue /t REG_BINARY /d "$record" /f "${view32[@]}" >/dev/null
mkdir -p "$windir/$native/GameSave"
head -c 112 /dev/urandom > "$work/mine.sav"
cp "$work/mine.sav" "$windir/$native/GameSave/mine.sav"
msiexec /x "$(winpath "$msi")" /qn
check "the package is removed silently" test $? = 0
snapshot removed
check "padremove ran: the pad's device key is gone" lacks_key removed 'HKEY_LOCAL_MACHINE\Enum\USB\VID_7A3C&PID_A02F'
check "nothing of the package is left" compare_removed removed
check "the settings record is kept" settings_kept
check "the profile is kept" profile_kept

# An upgrade in place from the older package.
seed_usb_key
msiexec /i "$(winpath "$older_msi")" /qn
check "the older package installs" test $? = 0
msiexec /i "$(winpath "$msi")" /qn
check "the newer package installs over it" test $? = 0
snapshot upgraded
check "one uninstall entry is left, of version $version" one_entry upgraded "$version"
check "the files are the newer package's, and its own only" installed_copies_match
check "the older package's extra picture is gone" test ! -e "$windir/$native/Zororo/Image/Older.bmp"
check "padsetup's OEM type entry is there after the upgrade" has_key upgraded "$oem"
check "the settings record is kept over the upgrade" settings_kept
msiexec /x "$(winpath "$msi")" /qn
check "the upgraded package is removed" test $? = 0
snapshot removed-again
check "nothing of either package is left" compare_removed removed-again

echo "$failures failed checks"
[ "$failures" = 0 ]
