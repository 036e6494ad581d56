#!/usr/bin/env bash
# Removes what install-wine.sh put into a Wine prefix: runs padremove.exe,
# imports unregister.reg, deletes the manifest's files from the system
# directory, and drops the registry keys and folders the install created that
# are left empty. Running it again changes nothing more.
#
#   uninstall-wine.sh [--dist DIR] [--no-wait] PREFIX
set -euo pipefail
source "$(dirname "$0")/../install/wine-common.sh"

remover="$winsys\\padremove.exe"
[ -f "$sysdir/padremove.exe" ] || remover=$(winepath -w "$dist/padremove.exe")
rc=0
wine "$remover" || rc=$?
[ "$rc" = 0 ] || echo "uninstall-wine.sh: padremove.exe ended with exit code $rc" >&2

wine "$regedit" /S "$(winepath -w "$dist/unregister.reg")"

# Parents that padsetup creates where they are missing, as a fresh prefix has
# them; each goes only when nothing else lives in it. Deepest first.
oem='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\MediaProperties\PrivateProperties\Joystick\OEM'
for key in "$oem" "${oem%\\OEM}" "${oem%\\Joystick\\OEM}" "${oem%\\PrivateProperties\\Joystick\\OEM}" \
           'HKEY_LOCAL_MACHINE\Enum\HID' 'HKEY_LOCAL_MACHINE\Enum'; do
  listing=$(wine "$reg" query "$key" 2>/dev/null | tr -d '\r' | grep -c . || true)
  # An empty key lists its own name and nothing else; a missing one lists nothing.
  if [ "$listing" = 1 ]; then
    wine "$reg" delete "$key" /f >/dev/null 2>&1 || true
  fi
done

dirs=()
while read -r pattern dest; do
  target=$(destination_dir "$dest")
  rm -f "$target"/$(basename "$pattern")
  [ "$dest" = . ] || dirs+=("$dest")
done < <(manifest_lines)
# Deepest folders first, each only when empty.
for dir in $(printf '%s\n' "${dirs[@]}" | awk -F/ '{ print NF, $0 }' | sort -rn | cut -d' ' -f2- | uniq); do
  while [ "$dir" != . ] && rmdir "$sysdir/$dir" 2>/dev/null; do dir=$(dirname "$dir"); done
done
finish_wine
echo "uninstall-wine.sh: removed from $prefix"
