# Which Wine loader runs which Windows tree, and whether it runs here at all.
# Sourced by ./pad, wine-run.sh and the install scripts.
#
#   pad_wine_loader ARCH     prints the loader of win32 or win64
#   pad_can_exec_i386        succeeds when the kernel runs 32-bit x86 programs
#   pad_wine_probe ARCH      succeeds when that loader starts here; otherwise
#                            prints one line saying why not
#   pad_has_private_binfmt   succeeds when a user namespace gets a binfmt_misc
#                            of its own here
#   pad_i386_emulator        prints the user-mode emulator ./pad deps fetches for
#                            kernels that run no 32-bit programs
#   pad_win32_way            prints how the win32 Wine suite runs here, "native"
#                            or "emulated" (scripts/i386-emulated.sh); otherwise
#                            prints one line saying why neither way runs

# /usr/bin/wine picks the 32-bit loader whenever it is installed, so each
# kind of prefix names its own.
pad_wine_loader() {
  case "$1" in
    win32) echo "${PAD_WINE32_LOADER:-/usr/lib/wine/wine}" ;;
    win64) echo "${PAD_WINE64_LOADER:-/usr/lib/wine/wine64}" ;;
    *) return 2 ;;
  esac
}

pad_scripts_dir=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# A 93-byte static i386 program that exits with code 7: no package needed to
# learn whether 32-bit code starts, and who starts it.
pad_i386_probe_program() {  # prints the path of a fresh copy; the caller removes it
  local probe
  probe=$(mktemp "${TMPDIR:-/tmp}/pad-i386.XXXXXX") || return 1
  base64 -d > "$probe" <<'EOF'
f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAA
AAAAAIAECACABAhgAAAAYAAAAAUAAAAAEAAAuwcAAAC4AQAAAM2A
EOF
  chmod +x "$probe"
  echo "$probe"
}

pad_can_exec_i386() {
  local probe rc=0
  probe=$(pad_i386_probe_program) || return 1
  (exec "$probe") 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" = 7 ]
}

# A user and mount namespace of this user's, with a binfmt_misc of its own
# (Linux 6.7 and newer): where the emulated way can hand programs over.
pad_has_private_binfmt() {
  local mnt rc=0
  mnt=$(mktemp -d "${TMPDIR:-/tmp}/pad-binfmt.XXXXXX") || return 1
  unshare --user --map-root-user --mount sh -c 'mount -t binfmt_misc pad-binfmt "$1"' sh "$mnt" 2>/dev/null || rc=$?
  rmdir "$mnt"
  return $rc
}

pad_i386_emulator() {
  echo "${PAD_I386_EMULATOR:-$(dirname "$pad_scripts_dir")/build/i386-emulator/qemu-i386}"
}

pad_wine_probe() {
  local arch=$1 loader
  loader=$(pad_wine_loader "$arch") || { echo "no Wine loader for $arch"; return 1; }
  if [ "$arch" = win32 ] && [ "${PAD_NO_WIN32:-0}" = 1 ]; then
    echo "PAD_NO_WIN32=1 asks not to run 32-bit programs"; return 1
  fi
  if [ "$arch" = win32 ] && ! pad_can_exec_i386; then
    echo "this kernel does not run 32-bit programs (Exec format error)"; return 1
  fi
  if [ ! -x "$loader" ]; then
    if [ "$arch" = win32 ]; then
      echo "Wine's 32-bit loader ($loader, package wine32:i386) is not installed"
    else
      echo "Wine's 64-bit loader ($loader, package wine64) is not installed"
    fi
    return 1
  fi
  if ! timeout 30 "$loader" --version >/dev/null 2>&1; then
    echo "Wine's $arch loader $loader does not start here"; return 1
  fi
}

# Natively where the kernel runs 32-bit programs, unless PAD_WIN32_EMULATE=1
# asks for the emulated way; under emulation otherwise.
pad_win32_way() {
  local why loader
  if [ "${PAD_NO_WIN32:-0}" = 1 ]; then echo "PAD_NO_WIN32=1 asks not to run 32-bit programs"; return 1; fi
  if [ "${PAD_WIN32_EMULATE:-0}" != 1 ] && pad_can_exec_i386; then
    why=$(pad_wine_probe win32) || { echo "$why"; return 1; }
    echo native
    return 0
  fi
  local because="this kernel does not run 32-bit programs, and emulation cannot run them:"
  [ "${PAD_WIN32_EMULATE:-0}" = 1 ] && because="PAD_WIN32_EMULATE=1 asks for emulation:"
  why=$("$pad_scripts_dir/i386-emulated.sh" --probe) || { echo "$because $why"; return 1; }
  loader=$(pad_wine_loader win32)
  [ -x "$loader" ] || { echo "$because Wine's 32-bit loader ($loader, package wine32:i386) is not installed"; return 1; }
  if ! "$pad_scripts_dir/i386-emulated.sh" -- timeout 60 "$loader" --version >/dev/null 2>&1; then
    echo "$because Wine's 32-bit loader $loader does not start under the emulator"; return 1
  fi
  echo emulated
}
