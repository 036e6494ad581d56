#!/usr/bin/env bash
# Fetches the user-mode emulator that runs 32-bit x86 programs where the
# kernel will not: the static qemu-i386 of Debian 13's package qemu-user
# (Debian 12's qemu 7.2 hangs Wine), unpacked under DIR. Nothing is installed
# and the machine's own apt sources, lists and cache are left as they are:
# apt runs with a configuration of its own under DIR/apt (its own sources
# list, signed by Debian's archive keyring, its own lists and cache, amd64
# only), so the package comes through apt's signature and hash checks.
#
#   fetch-i386-emulator.sh DIR     prints the emulator's path on success
#
# DIR/qemu-i386 is the emulator and DIR/version names the package it came
# from; DIR/apt is removed once they are there, and kept with apt's logs when
# the fetch fails.
set -euo pipefail
out=${1:?usage: fetch-i386-emulator.sh DIR}
mkdir -p "$out"
out=$(cd "$out" && pwd)
keyring=/usr/share/keyrings/debian-archive-keyring.gpg
say() { echo "fetch-i386-emulator: $*" >&2; }

if [ -x "$out/qemu-i386" ] && [ -s "$out/version" ]; then echo "$out/qemu-i386"; exit 0; fi
[ -r "$keyring" ] || { say "Debian's archive keyring $keyring is missing (package debian-archive-keyring)"; exit 1; }

apt_dir=$out/apt
rm -rf "$apt_dir"
mkdir -p "$apt_dir"/{lists/partial,cache/archives/partial,parts,download}
: > "$apt_dir/status"
cat > "$apt_dir/sources.list" <<EOF
deb [signed-by=$keyring arch=amd64] http://deb.debian.org/debian trixie main
deb [signed-by=$keyring arch=amd64] http://deb.debian.org/debian trixie-updates main
deb [signed-by=$keyring arch=amd64] http://deb.debian.org/debian-security trixie-security main
EOF
# The machine's own apt.conf.d is read first; everything that would reach the
# machine's package state is pointed at DIR/apt, and its hooks are dropped.
cat > "$apt_dir/apt.conf" <<EOF
Dir::Etc::SourceList "$apt_dir/sources.list";
Dir::Etc::SourceParts "$apt_dir/parts";
Dir::Etc::Preferences "$apt_dir/parts/none";
Dir::Etc::PreferencesParts "$apt_dir/parts";
Dir::State "$apt_dir";
Dir::State::Lists "$apt_dir/lists";
Dir::State::status "$apt_dir/status";
Dir::Cache "$apt_dir/cache";
APT::Architecture "amd64";
APT::Architectures { "amd64"; };
Acquire::Languages "none";
#clear APT::Update::Post-Invoke;
#clear APT::Update::Post-Invoke-Success;
#clear DPkg::Post-Invoke;
EOF
# apt fetches as its own unprivileged user where it can.
if [ "$(id -u)" = 0 ] && id _apt >/dev/null 2>&1; then chown -R _apt "$apt_dir/lists" "$apt_dir/cache" "$apt_dir/download"; fi
export APT_CONFIG=$apt_dir/apt.conf

# A mirror mid-sync fails an index now and then: try again, then go on with
# what was verified; the download below fails if that holds no qemu-user.
for try in 1 2 3; do
  if apt-get update -qq >"$apt_dir/update.log" 2>&1; then break; fi
  [ "$try" = 3 ] && say "warning: $(grep -m1 -E '^(E|Err):' "$apt_dir/update.log" | cut -c1-200)"
  [ "$try" = 3 ] || sleep 5
done

version=$(apt-cache policy qemu-user 2>/dev/null | awk '/Candidate:/ { print $2 }' || true)
if [ -z "$version" ] || [ "$version" = "(none)" ]; then
  say "no verified qemu-user package was found ($(grep -m1 -E '^(E|Err):' "$apt_dir/update.log" | cut -c1-200))"
  exit 1
fi
if ! (cd "$apt_dir/download" && apt-get download -qq "qemu-user=$version") >"$apt_dir/download.log" 2>&1; then
  say "qemu-user $version could not be downloaded: $(grep -m1 -E '^(E|W):' "$apt_dir/download.log" | cut -c1-200)"
  exit 1
fi
deb=$(ls "$apt_dir"/download/qemu-user_*.deb)
# Only the one emulator is kept of the package's many.
rm -rf "$out/unpacked"
dpkg-deb -x "$deb" "$out/unpacked"
bin=$out/unpacked/usr/bin/qemu-i386
[ -x "$bin" ] || { say "$(basename "$deb") holds no usr/bin/qemu-i386"; exit 1; }
# A binfmt_misc handler with the fix-binary flag must need no loader or library.
if ! LC_ALL=C readelf -h "$bin" >/dev/null 2>&1 || LC_ALL=C readelf -l "$bin" | grep -q 'INTERP'; then
  say "$bin is not a static program"; exit 1
fi
mv "$bin" "$out/qemu-i386"
rm -rf "$out/unpacked" "$apt_dir"
echo "qemu-user $version (Debian 13)" > "$out/version"
echo "$out/qemu-i386"
