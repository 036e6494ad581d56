#!/usr/bin/env bash
# The Wine install and uninstall commands in a 32-bit and in a 64-bit prefix
# layout, with wine, winepath and wineserver replaced by stand-ins that record
# what they are asked to run. A 64-bit prefix keeps the 32-bit DLLs, and the
# registry view 32-bit COM reads, to its syswow64 tools.
#
#   wine-scripts-test.sh REPO WORKDIR
set -uo pipefail
repo=$1 work=$2
rm -rf "$work"
mkdir -p "$work/bin" "$work/dist/Zororo"

cat > "$work/bin/wine" <<'EOF'
#!/usr/bin/env bash
printf '%s\n' "$*" >> "$FAKE_WINE_LOG"
case "$1" in
  *padsetup.exe) exit 1 ;;               # padsetup's fixed exit code
  reg|*\\reg.exe) [ "$2" = query ] && exit 1 ;;  # nothing left to prune
esac
exit 0
EOF
cat > "$work/bin/winepath" <<'EOF'
#!/usr/bin/env bash
[ "$1" = -w ] && shift
printf 'Z:%s\n' "${1//\//\\}"
EOF
printf '#!/usr/bin/env bash\nexit 0\n' > "$work/bin/wineserver"
printf '#!/usr/bin/env bash\necho "wineboot $*" >> "$FAKE_WINE_LOG"\nexit 1\n' > "$work/bin/wineboot"
chmod +x "$work/bin/"*

printf 'padforce.dll .\npadsetup.exe .\npadremove.exe .\nZororo/Setup.ini Zororo\n' > "$work/dist/manifest.txt"
for f in padforce.dll padsetup.exe padremove.exe register.reg unregister.reg Zororo/Setup.ini; do
  echo "$f" > "$work/dist/$f"
done

failures=0
check() {  # check "sentence" command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
logged() { grep -qxF -- "$1" "$log"; }
none_matching() { ! grep -qE -- "$1" "$log"; }

run_layout() {  # run_layout NAME SYSTEM_FOLDER
  local name=$1 sysname=$2
  local prefix="$work/$name" winsys="C:\\windows\\$sysname"
  local windir="$prefix/drive_c/windows"
  mkdir -p "$windir/system32" "$windir/$sysname"
  log="$work/$name.log"
  : > "$log"
  export FAKE_WINE_LOG="$log"
  local dist_w="Z:${work//\//\\}\\dist"

  PATH="$work/bin:$PATH" "$repo/scripts/install-wine.sh" --no-wait --dist "$work/dist" "$prefix" > "$work/$name.install.out" 2>&1
  check "$name: the install command succeeds" test $? = 0
  check "$name: padforce.dll lands in $sysname" cmp -s "$work/dist/padforce.dll" "$windir/$sysname/padforce.dll"
  check "$name: Setup.ini lands in $sysname\\Zororo" cmp -s "$work/dist/Zororo/Setup.ini" "$windir/$sysname/Zororo/Setup.ini"
  if [ "$sysname" != system32 ]; then
    check "$name: nothing lands in the 64-bit system32" test -z "$(ls -A "$windir/system32")"
  fi
  check "$name: padsetup runs from $sysname" logged "$winsys\\padsetup.exe"

  PATH="$work/bin:$PATH" "$repo/scripts/uninstall-wine.sh" --no-wait --dist "$work/dist" "$prefix" > "$work/$name.uninstall.out" 2>&1
  check "$name: the uninstall command succeeds" test $? = 0
  check "$name: padremove runs from $sysname" logged "$winsys\\padremove.exe"
  check "$name: the files are taken away again" test -z "$(ls -A "$windir/$sysname")"
  check "$name: no prefix is made over the existing one" none_matching '^wineboot'

  if [ "$sysname" = syswow64 ]; then
    check "$name: register.reg goes in through the 32-bit regedit" logged "$winsys\\regedit.exe /S $dist_w\\register.reg"
    check "$name: unregister.reg goes in through the 32-bit regedit" logged "$winsys\\regedit.exe /S $dist_w\\unregister.reg"
    check "$name: the 64-bit regedit is never run" none_matching '^regedit( |$)'
    check "$name: the keys left over are looked at through the 32-bit reg" grep -qF -- "$winsys\\reg.exe query " "$log"
    check "$name: the 64-bit reg is never run" none_matching '^reg( |$)'
  else
    check "$name: register.reg goes in through regedit" logged "regedit /S $dist_w\\register.reg"
    check "$name: unregister.reg goes in through regedit" logged "regedit /S $dist_w\\unregister.reg"
    check "$name: the keys left over are looked at through reg" grep -qE -- '^reg query ' "$log"
  fi
}

run_layout prefix32 system32
run_layout prefix64 syswow64

echo "$failures failed checks"
[ "$failures" = 0 ]
