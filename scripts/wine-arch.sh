# Which Wine loader runs which Windows tree, and whether it runs here at all.
# Sourced by ./pad, wine-run.sh and the install scripts.
#
#   pad_wine_loader ARCH     prints the loader of win32 or win64
#   pad_can_exec_i386        succeeds when the kernel runs 32-bit x86 programs
#   pad_wine_probe ARCH      succeeds when that loader starts here; otherwise
#                            prints one line saying why not

# /usr/bin/wine picks the 32-bit loader whenever it is installed, so each
# kind of prefix names its own.
pad_wine_loader() {
  case "$1" in
    win32) echo "${PAD_WINE32_LOADER:-/usr/lib/wine/wine}" ;;
    win64) echo "${PAD_WINE64_LOADER:-/usr/lib/wine/wine64}" ;;
    *) return 2 ;;
  esac
}

# A 93-byte static i386 program that exits with code 7: no package needed to
# learn whether the kernel will start 32-bit code.
pad_can_exec_i386() {
  local probe rc=0
  probe=$(mktemp "${TMPDIR:-/tmp}/pad-i386.XXXXXX") || return 1
  base64 -d > "$probe" <<'EOF'
f0VMRgEBAQAAAAAAAAAAAAIAAwABAAAAVIAECDQAAAAAAAAAAAAAADQAIAABAAAAAAAAAAEAAAAA
AAAAAIAECACABAhgAAAAYAAAAAUAAAAAEAAAuwcAAAC4AQAAAM2A
EOF
  chmod +x "$probe"
  (exec "$probe") 2>/dev/null || rc=$?
  rm -f "$probe"
  [ "$rc" = 7 ]
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
