#!/usr/bin/env bash
# Installs what building and testing need on a fresh Debian machine; does nothing when all is there.
set -euo pipefail

packages=(cmake ninja-build g++ libgtest-dev libgmock-dev googletest
          clang-14 libclang-rt-14-dev clang-tidy-14
          g++-mingw-w64-i686 binutils-mingw-w64-i686 g++-mingw-w64-x86-64 binutils-mingw-w64-x86-64
          wine wine64 zip unzip)

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed' || missing+=("$p")
done
# Wine's 32-bit loader, for regval.exe. Looked for as a file: where the kernel cannot run 32-bit
# programs the package's set-up fails and stays unfinished, yet the loader is all we need of it.
[ -e /usr/lib/wine/wine ] || missing+=(wine32:i386)
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=""
[ "$(id -u)" -eq 0 ] || sudo="sudo"
if ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
export DEBIAN_FRONTEND=noninteractive
$sudo apt-get update -q
native=()
for p in "${missing[@]}"; do [ "$p" = wine32:i386 ] || native+=("$p"); done
if [ ${#native[@]} -gt 0 ]; then
  $sudo apt-get install -y -q --no-install-recommends "${native[@]}"
fi
if [ "${missing[-1]}" = wine32:i386 ]; then
  # Its post-install steps run 32-bit programs; where the kernel refuses them they fail, which is
  # harmless. scripts/wine.sh later tries what really runs.
  $sudo apt-get install -y -q --no-install-recommends wine32:i386 ||
    echo "install-deps: wine32:i386 reported errors while setting up" \
      "(expected where 32-bit programs cannot run)"
fi
