#!/usr/bin/env bash
# Installs the pad's package into a Wine prefix, the way install.bat does on
# Windows: copies the files of the manifest into the system directory, imports
# register.reg and runs padsetup.exe. Running it again gives the same result.
#
#   install-wine.sh [--dist DIR] [--no-wait] PREFIX
#
# A file of the manifest that the staging folder lacks is reported and skipped.
set -euo pipefail
source "$(dirname "$0")/../install/wine-common.sh"

missing=0
while read -r pattern dest; do
  files=()
  for f in "$dist"/$pattern; do
    [ -f "$f" ] && files+=("$f")
  done
  if [ ${#files[@]} -eq 0 ]; then
    echo "install-wine.sh: not in the package, not installed: $pattern"
    missing=$((missing + 1))
    continue
  fi
  target=$(destination_dir "$dest")
  mkdir -p "$target"
  cp -f "${files[@]}" "$target/"
done < <(manifest_lines)

wine "$regedit" /S "$(winepath -w "$dist/register.reg")"

# padsetup ends with exit code 1 whatever it found; anything else means it did not run.
rc=0
wine "$winsys\\padsetup.exe" || rc=$?
if [ "$rc" != 1 ]; then
  echo "install-wine.sh: padsetup.exe did not run (exit code $rc)" >&2
  exit 1
fi
finish_wine
echo "install-wine.sh: installed into $prefix ($missing manifest entries not in the package)"
