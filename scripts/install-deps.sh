#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine; does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev clang-14 libclang-rt-14-dev clang-tidy-14
          g++-mingw-w64-i686 binutils-mingw-w64-i686 wine wine32:i386)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
# wine32 is an i386 package: the 32-bit program runs on it.
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
$sudo apt-get install -y -q --no-install-recommends "${missing[@]}"
