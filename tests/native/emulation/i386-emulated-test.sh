#!/usr/bin/env bash
# scripts/i386-emulated.sh and the choice of the win32 suite's way, with
# stand-ins for the emulator: one that records what the kernel hands it, and
# one that answers as qemu does. The 32-bit program is the 93-byte probe.
#
#   i386-emulated-test.sh REPO WORKDIR
set -uo pipefail
repo=$1 work=$2
rm -rf "$work"
mkdir -p "$work/tmp"
export TMPDIR="$work/tmp"
source "$repo/scripts/wine-arch.sh"
emulated=$repo/scripts/i386-emulated.sh

if ! pad_has_private_binfmt; then
  echo "skipped: no binfmt_misc of its own in a user namespace here"; exit 77
fi

cat > "$work/recorder" <<REC
#!/usr/bin/env bash
echo "handed \$* marker=\${PAD_I386_EMULATED:-}" > "$work/handed"
exit 42
REC
cat > "$work/fake-qemu" <<'REC'
#!/usr/bin/env bash
[ -n "${QEMU_VERSION:-}" ] && { echo "qemu-i386 version 0 (stand-in)"; exit 0; }
exit 7
REC
printf '#!/usr/bin/env bash\necho "wine-0 (stand-in)"\n' > "$work/loader"
chmod +x "$work/recorder" "$work/fake-qemu" "$work/loader"
probe=$(pad_i386_probe_program)
mv "$probe" "$work/probe"

failures=0
check() {  # check "sentence" command...
  local what=$1; shift
  if "$@"; then echo "ok: $what"; else echo "FAIL: $what"; failures=$((failures + 1)); fi
}
says() { [ "$1" = "$2" ] || { echo "  said: $1"; echo "  not:  $2"; return 1; }; }

rc=0; "$emulated" --emulator "$work/recorder" -- "$work/probe" one two || rc=$?
check "a 32-bit program in the namespace goes to the emulator, whatever the kernel runs itself" \
  says "$(cat "$work/handed" 2>/dev/null)" "handed $work/probe one two marker=1"
check "the emulated command's exit code is the script's" test "$rc" = 42
check "the private mount point goes with the namespace" test -z "$(ls -A "$work/tmp")"
rc=0; "$emulated" --emulator "$work/recorder" -- sh -c 'exit 5' || rc=$?
check "a command that is no 32-bit program runs as it is" test "$rc" = 5

check "the probe names an emulator that is missing" \
  says "$("$emulated" --emulator "$work/none" --probe)" "no user-mode emulator at $work/none (./pad deps fetches it)"
check "the probe refuses an emulator that does not run the program" \
  says "$("$emulated" --emulator "$work/recorder" --probe)" \
       "the emulator $work/recorder does not run a 32-bit program in the namespace (exit code 42)"
check "the probe accepts an emulator that runs the program and answers as the emulator" \
  "$emulated" --emulator "$work/fake-qemu" --probe

export PAD_I386_EMULATOR=$work/fake-qemu PAD_WINE32_LOADER=$work/loader
check "PAD_WIN32_EMULATE=1 runs the suite emulated" says "$(PAD_WIN32_EMULATE=1 pad_win32_way)" emulated
check "without the 32-bit loader neither way runs, and the line says so" \
  says "$(PAD_WIN32_EMULATE=1 PAD_WINE32_LOADER=$work/none pad_win32_way)" \
       "PAD_WIN32_EMULATE=1 asks for emulation: Wine's 32-bit loader ($work/none, package wine32:i386) is not installed"
check "PAD_NO_WIN32=1 skips it on purpose" \
  says "$(PAD_NO_WIN32=1 PAD_WIN32_EMULATE=1 pad_win32_way)" "PAD_NO_WIN32=1 asks not to run 32-bit programs"

echo "$failures failed checks"
[ "$failures" = 0 ]
