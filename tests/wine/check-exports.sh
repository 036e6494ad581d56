#!/usr/bin/env bash
# Checks what a deliverable DLL shows Windows: the tree's machine (pei-i386
# or pei-x86-64), exactly the given exports, all by name, and imports from
# Windows system DLLs only. Needs no Windows to run.
#
#   check-exports.sh OBJDUMP DLL FORMAT EXPORT...
set -euo pipefail

objdump=$1 dll=$2 format=$3
shift 3
expected=$(printf '%s\n' "$@" | sort)

headers=$("$objdump" -p "$dll")
names=$(printf '%s\n' "$headers" | sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
        sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort)
addresses=$(printf '%s\n' "$headers" | sed -n '/^Export Address Table --/,/^$/p' | grep -c 'Export RVA' || true)
imports=$(printf '%s\n' "$headers" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p')

status=0
actual=$("$objdump" -f "$dll" | sed -n 's/.*file format //p')
if [ "$actual" != "$format" ]; then
  echo "$(basename "$dll") is $actual, not the tree's $format"
  status=1
fi
if [ "$names" != "$expected" ]; then
  echo "exports by name are:"; printf '  %s\n' $names
  echo "expected exactly:"; printf '  %s\n' $expected
  status=1
fi
if [ "$addresses" != "$(printf '%s\n' "$names" | grep -c . || true)" ]; then
  echo "the export address table has $addresses entries: some are exported by ordinal only"
  status=1
fi
# What every supported Windows has in its system folder.
system="kernel32.dll user32.dll gdi32.dll advapi32.dll winmm.dll msvcrt.dll ole32.dll oleaut32.dll shell32.dll comctl32.dll comdlg32.dll setupapi.dll ntdll.dll dinput.dll"
for dll_name in $imports; do
  lower=$(printf '%s' "$dll_name" | tr 'A-Z' 'a-z')
  case " $system " in
    *" $lower "*) ;;
    *) echo "imports from $dll_name, which is not a Windows system DLL"; status=1 ;;
  esac
done
[ -n "$imports" ] || { echo "no imports found: is $dll a PE file?"; status=1; }
[ $status = 0 ] && echo "$(basename "$dll") ($actual): exports $(echo $names), imports $(echo $imports)"
exit $status
