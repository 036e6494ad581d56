#!/usr/bin/env bash
# Installs the pad's package into a Wine prefix, the way install.bat does on
# Windows: copies each half's files into its system folder (a 64-bit prefix
# takes both halves: 32-bit files in syswow64, 64-bit ones in system32),
# registers the classes in every registry view and runs padsetup.exe. Running
# it again gives the same result.
#
#   install-wine.sh [--dist DIR] [--arch win32|win64] [--no-wait] PREFIX
#
# A file of a manifest that the package lacks is reported and skipped.
set -euo pipefail
source "$(dirname "$0")/../install/wine-common.sh"

missing=0
for half in "${halves[@]}"; do
  read -r from sys <<<"$half"
  [ -f "$from/manifest.txt" ] || { echo "install-wine.sh: the package has no $from/manifest.txt; nothing of it installed"; missing=$((missing + 1)); continue; }
  while read -r pattern dest; do
    files=()
    for f in "$from"/$pattern; do
      [ -f "$f" ] && files+=("$f")
    done
    if [ ${#files[@]} -eq 0 ]; then
      rel=${from#"$dist"}; rel=${rel#/}
      echo "install-wine.sh: not in the package, not installed: ${rel:+$rel/}$pattern"
      missing=$((missing + 1))
      continue
    fi
    target=$(destination_dir "$sys" "$dest")
    mkdir -p "$target"
    cp -f "${files[@]}" "$target/"
  done < <(manifest_lines "$from")
done

register=$(w winepath -w "$dist/register.reg")
if [ "$arch" = win64 ]; then
  for view in $(views); do w reg import "$register" "$view" >/dev/null; done
else
  w regedit /S "$register"
fi

# padsetup ends with exit code 1 whatever it found; anything else means it did not run.
rc=0
w "$winsys\\padsetup.exe" || rc=$?
if [ "$rc" != 1 ]; then
  echo "install-wine.sh: padsetup.exe did not run (exit code $rc)" >&2
  exit 1
fi
finish_wine
echo "install-wine.sh: installed into $prefix ($arch, $missing manifest entries not in the package)"
