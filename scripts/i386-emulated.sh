#!/usr/bin/env bash
# Runs a command where every 32-bit x86 program it starts is run by the
# user-mode emulator, whether or not the kernel would run it itself.
#
#   i386-emulated.sh [--emulator PATH] -- COMMAND [ARGS...]
#   i386-emulated.sh [--emulator PATH] --probe
#
# The command runs in a private user and mount namespace with a binfmt_misc
# of its own (Linux 6.7 and newer give each user namespace one), mounted on a
# private folder, holding one entry for i386 ELF programs with the fix-binary
# flag: the emulator is opened once, when the entry is made, and stays usable
# from every folder. The machine's binfmt_misc and /proc are never touched and
# the entry ends with the namespace. The command and everything it starts see
# PAD_I386_EMULATED=1. Its exit code is the script's.
#
# --probe succeeds when the emulator, and not the kernel, runs a 32-bit
# program here; otherwise it prints one line saying why not.
#
# The emulator defaults to the one ./pad deps fetches (scripts/wine-arch.sh,
# pad_i386_emulator).
set -euo pipefail
source "$(dirname "$0")/wine-arch.sh"

# qemu's own registration for i386: ELF32, little-endian, executable or shared object.
magic='\x7fELF\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
mask='\xff\xff\xff\xff\xff\xfe\xfe\x00\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'
entry=pad-i386

if [ "${1:-}" = --inside ]; then  # --inside EMULATOR MOUNTPOINT -- COMMAND...: in the namespace
  emulator=$2 mnt=$3
  shift 4
  mount -t binfmt_misc pad-binfmt "$mnt" 2>/dev/null ||
    { echo "binfmt_misc cannot be mounted in a user namespace here (Linux 6.7 or newer has one for each)" >&2; exit 97; }
  printf '%s' ":$entry:M::$magic:$mask:$emulator:F" > "$mnt/register" 2>/dev/null ||
    { echo "the emulator could not be registered with binfmt_misc in the namespace" >&2; exit 97; }
  export PAD_I386_EMULATED=1
  exec "$@"
fi

emulator=$(pad_i386_emulator) probe=0
while [ $# -gt 0 ]; do
  case "$1" in
    --emulator) emulator=$2; shift 2 ;;
    --probe) probe=1; shift ;;
    --) shift; break ;;
    *) echo "i386-emulated.sh: unknown option $1" >&2; exit 2 ;;
  esac
done
[ "$probe" = 1 ] || [ $# -gt 0 ] || { echo "usage: i386-emulated.sh [--emulator PATH] (--probe | -- COMMAND [ARGS...])" >&2; exit 2; }

if [ ! -x "$emulator" ]; then
  why="no user-mode emulator at $emulator (./pad deps fetches it)"
  if [ "$probe" = 1 ]; then echo "$why"; exit 1; fi
  echo "i386-emulated.sh: $why" >&2; exit 127
fi
emulator=$(cd "$(dirname "$emulator")" && pwd)/$(basename "$emulator")

in_namespace() {  # COMMAND...: runs it emulated; the private mount point goes with it
  local mnt rc=0
  mnt=$(mktemp -d "${TMPDIR:-/tmp}/pad-binfmt.XXXXXX")
  unshare --user --map-root-user --mount --fork --kill-child -- "$0" --inside "$emulator" "$mnt" -- "$@" || rc=$?
  rmdir "$mnt" 2>/dev/null || true
  return $rc
}

if [ "$probe" = 0 ]; then
  rc=0
  in_namespace "$@" || rc=$?
  exit $rc
fi

if ! unshare --user --map-root-user --mount true 2>/dev/null; then
  echo "user namespaces are not available to this user (unshare --user --mount fails)"; exit 1
fi
if ! pad_has_private_binfmt; then
  echo "a user namespace gets no binfmt_misc of its own here (Linux 6.7 or newer gives one)"; exit 1
fi
prog=$(pad_i386_probe_program)
trap 'rm -f "$prog"' EXIT
# Run by the emulator, the probe exits with its code 7; with QEMU_VERSION set
# the emulator answers instead of the program, which the kernel never would.
rc=0; out=$(in_namespace "$prog" 2>&1) || rc=$?
if [ "$rc" != 7 ]; then
  case "$rc" in
    97) echo "$out" ;;
    *) echo "the emulator $emulator does not run a 32-bit program in the namespace (exit code $rc)" ;;
  esac
  exit 1
fi
out=$(in_namespace env QEMU_VERSION=1 "$prog" 2>&1 || true)
case "$out" in
  qemu-i386*) ;;
  *) echo "32-bit programs in the namespace are not handed to the emulator"; exit 1 ;;
esac
