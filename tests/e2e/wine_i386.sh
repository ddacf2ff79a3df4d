#!/usr/bin/env bash
# Wine's 32-bit Windows DLLs, for running the 32-bit (x86) build's tests under
# the 64-bit Wine of this machine in its WoW64 mode: the 64-bit Wine runs the
# 32-bit program's code itself, so the machine needs no 32-bit Linux support.
# The DLLs come from Debian's package libwine:i386 of the installed Wine's
# version, downloaded and unpacked into DIR (not installed):
#
#   tests/e2e/wine_i386.sh [DIR]      DIR defaults to build/wine-i386
#
# The Windows x86 build's tests take them from there (WINE_I386_DLLS,
# cmake/WineTests.cmake). Adding the i386 architecture to dpkg needs root.
set -euo pipefail
cd "$(dirname "$0")/../.."
target=$(realpath -m "${1:-build/wine-i386}")

version=$(dpkg-query -W -f='${Version}' libwine)
if [ -f "$target/libwine.version" ] && [ "$(cat "$target/libwine.version")" = "$version" ]; then
  exit 0  # already there
fi
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  dpkg --add-architecture i386
  apt-get update -qq
fi

scratch=$(mktemp -d)
chmod 777 "$scratch"  # apt-get download writes there as its own user (_apt)
trap 'rm -rf "$scratch"' EXIT
download() { (cd "$scratch" && apt-get download -qq "libwine:i386=$version"); }
download || { apt-get update -qq && download; }  # package lists older than the installed Wine
dpkg-deb -x "$scratch"/libwine_*_i386.deb "$scratch/unpacked"
rm -rf "$target"
mkdir -p "$target"
mv "$scratch/unpacked/usr/lib/i386-linux-gnu/wine/i386-windows" "$target/"
echo "$version" > "$target/libwine.version"
echo "Wine's 32-bit DLLs ($version) in $target/i386-windows"
