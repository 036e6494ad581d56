#!/usr/bin/env bash
# Removes what install-wine.sh put into a Wine prefix: runs padremove.exe,
# removes the keys of unregister.reg from every registry view, deletes each
# half's files from its system folder, and drops the registry keys and
# folders the install created that are left empty. Running it again changes
# nothing more.
#
#   uninstall-wine.sh [--dist DIR] [--arch win32|win64] [--no-wait] PREFIX
set -euo pipefail
source "$(dirname "$0")/../install/wine-common.sh"

remover="$winsys\\padremove.exe"
[ -f "$prefix/drive_c/windows/system32/padremove.exe" ] || remover=$(w winepath -w "$tools/padremove.exe")
rc=0
w "$remover" || rc=$?
[ "$rc" = 0 ] || echo "uninstall-wine.sh: padremove.exe ended with exit code $rc" >&2

if [ "$arch" = win64 ]; then
  # reg import does not delete in a chosen view, so each key goes by name.
  while read -r key; do
    for view in $(views); do w reg delete "$key" "$view" /f >/dev/null 2>&1 || true; done
  done < <(sed -n 's/^\[-\(.*\)\]\r\{0,1\}$/\1/p' "$dist/unregister.reg")
else
  w regedit /S "$(w winepath -w "$dist/unregister.reg")"
fi

# Parents that padsetup creates where they are missing, as a fresh prefix has
# them; each goes only when nothing else lives in it. Deepest first.
oem='HKEY_LOCAL_MACHINE\System\CurrentControlSet\Control\MediaProperties\PrivateProperties\Joystick\OEM'
for key in "$oem" "${oem%\\OEM}" "${oem%\\Joystick\\OEM}" "${oem%\\PrivateProperties\\Joystick\\OEM}" \
           'HKEY_LOCAL_MACHINE\Enum\HID' 'HKEY_LOCAL_MACHINE\Enum'; do
  listing=$(w reg query "$key" 2>/dev/null | tr -d '\r' | grep -c . || true)
  # An empty key lists its own name and nothing else; a missing one lists nothing.
  if [ "$listing" = 1 ]; then
    w reg delete "$key" /f >/dev/null 2>&1 || true
  fi
done

for half in "${halves[@]}"; do
  read -r from sys <<<"$half"
  dirs=()
  while read -r pattern dest; do
    rm -f "$(destination_dir "$sys" "$dest")"/$(basename "$pattern")
    [ "$dest" = . ] || dirs+=("$dest")
  done < <(manifest_lines "$from")
  # Deepest folders first, each only when empty.
  for dir in $(printf '%s\n' "${dirs[@]}" | awk -F/ 'NF { print NF, $0 }' | sort -rn | cut -d' ' -f2- | uniq); do
    while [ "$dir" != . ] && rmdir "$(destination_dir "$sys" "$dir")" 2>/dev/null; do dir=$(dirname "$dir"); done
  done
done
finish_wine
echo "uninstall-wine.sh: removed from $prefix ($arch)"
