#!/usr/bin/env bash
# The Wine install and uninstall commands in a 32-bit and in a 64-bit prefix,
# with Wine's two loaders and wineserver replaced by stand-ins that record
# what they are asked to run. A 64-bit prefix takes both halves of the
# package, each in its own system folder, and the classes in both registry
# views, as 64-bit Windows does.
#
#   wine-scripts-test.sh REPO WORKDIR
set -uo pipefail
repo=$1 work=$2
rm -rf "$work"
mkdir -p "$work/bin" "$work/dist/Zororo" "$work/dist/x64/Zororo"

for bits in 32 64; do
  cat > "$work/bin/wine$bits" <<EOF
#!/usr/bin/env bash
printf 'wine$bits %s\n' "\$*" >> "\$FAKE_WINE_LOG"
case "\$1" in
  winepath) [ "\$2" = -w ] && shift; p=\$2; printf 'Z:%s\n' "\${p//\//\\\\}" ;;
  *padsetup.exe) exit 1 ;;               # padsetup's fixed exit code
  reg) [ "\$2" = query ] && exit 1 ;;    # nothing left to prune
esac
exit 0
EOF
done
printf '#!/usr/bin/env bash\nexit 0\n' > "$work/bin/wineserver"
chmod +x "$work/bin/"*
export PAD_WINE32_LOADER="$work/bin/wine32" PAD_WINE64_LOADER="$work/bin/wine64"

for half in dist dist/x64; do
  printf 'padforce.dll .\npadsetup.exe .\npadremove.exe .\nZororo/Setup.ini Zororo\n' > "$work/$half/manifest.txt"
  for f in padforce.dll padsetup.exe padremove.exe Zororo/Setup.ini; do echo "$half/$f" > "$work/$half/$f"; done
done
echo register > "$work/dist/register.reg"
printf 'REGEDIT4\r\n\r\n[-HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{A}]\r\n\r\n[-HKEY_LOCAL_MACHINE\\System\\B]\r\n' > "$work/dist/unregister.reg"

failures=0
check() {  # check "sentence" command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
logged() { grep -qxF -- "$1" "$log"; }
none_matching() { ! grep -qE -- "$1" "$log"; }
dist_w="Z:${work//\//\\}\\dist"

run_layout() {  # run_layout win32|win64
  local arch=$1 prefix="$work/$1" own=wine${1#win} other
  [ "$own" = wine64 ] && other=wine32 || other=wine64
  local windir="$prefix/drive_c/windows"
  mkdir -p "$windir/system32" "$windir/syswow64"
  [ "$arch" = win64 ] && echo '#arch=win64' > "$prefix/system.reg" || echo '#arch=win32' > "$prefix/system.reg"
  log="$work/$arch.log"
  : > "$log"
  export FAKE_WINE_LOG="$log"

  PATH="$work/bin:$PATH" "$repo/scripts/install-wine.sh" --no-wait --dist "$work/dist" "$prefix" > "$work/$arch.install.out" 2>&1
  check "$arch: the install command succeeds" test $? = 0
  check "$arch: only the prefix's own loader runs" none_matching "^$other "
  check "$arch: padsetup runs from system32" logged "$own C:\\windows\\system32\\padsetup.exe"
  if [ "$arch" = win64 ]; then
    check "$arch: the 32-bit half lands in syswow64" cmp -s "$work/dist/padforce.dll" "$windir/syswow64/padforce.dll"
    check "$arch: the 64-bit half lands in system32" cmp -s "$work/dist/x64/padforce.dll" "$windir/system32/padforce.dll"
    check "$arch: each half has its own Setup.ini" cmp -s "$work/dist/x64/Zororo/Setup.ini" "$windir/system32/Zororo/Setup.ini"
    check "$arch: register.reg goes into the 32-bit view" logged "$own reg import $dist_w\\register.reg /reg:32"
    check "$arch: register.reg goes into the 64-bit view" logged "$own reg import $dist_w\\register.reg /reg:64"
  else
    check "$arch: the 32-bit half lands in system32" cmp -s "$work/dist/padforce.dll" "$windir/system32/padforce.dll"
    check "$arch: nothing lands in syswow64" test -z "$(ls -A "$windir/syswow64")"
    check "$arch: register.reg goes in through regedit" logged "$own regedit /S $dist_w\\register.reg"
  fi

  PATH="$work/bin:$PATH" "$repo/scripts/uninstall-wine.sh" --no-wait --dist "$work/dist" "$prefix" > "$work/$arch.uninstall.out" 2>&1
  check "$arch: the uninstall command succeeds" test $? = 0
  check "$arch: padremove runs from system32" logged "$own C:\\windows\\system32\\padremove.exe"
  check "$arch: the files are taken away again" test -z "$(ls -A "$windir/system32" "$windir/syswow64" | grep -v ':$')"
  check "$arch: no prefix is made over the existing one" none_matching ' wineboot'
  check "$arch: the keys left over are looked at" grep -qE -- "^$own reg query " "$log"
  if [ "$arch" = win64 ]; then
    check "$arch: each key of unregister.reg goes from the 32-bit view" \
      logged "$own reg delete HKEY_LOCAL_MACHINE\\Software\\Classes\\CLSID\\{A} /reg:32 /f"
    check "$arch: each key of unregister.reg goes from the 64-bit view" logged "$own reg delete HKEY_LOCAL_MACHINE\\System\\B /reg:64 /f"
  else
    check "$arch: unregister.reg goes in through regedit" logged "$own regedit /S $dist_w\\unregister.reg"
  fi
}

run_layout win32
run_layout win64

# A prefix that does not exist yet is made of the kind the package serves.
log="$work/new.log"
: > "$log"
PATH="$work/bin:$PATH" FAKE_WINE_LOG="$log" "$repo/scripts/install-wine.sh" --no-wait --dist "$work/dist" "$work/new" >/dev/null 2>&1
check "a new prefix is made 64-bit for a package with a 64-bit half" logged "wine64 wineboot -i"

echo "$failures failed checks"
[ "$failures" = 0 ]
