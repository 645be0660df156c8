#!/usr/bin/env bash
# Runs a command as on a kernel that cannot start 32-bit programs, for checking the scripts and
# tests against that kind of machine: in a private mount namespace, Wine's 32-bit loader and
# server are replaced by copies marked for another processor, which the kernel refuses with
# "Exec format error", as it refuses every 32-bit program there. Needs root (unshare, mount).
# Usage: scripts/without-32bit.sh COMMAND ARGS...
#   e.g. scripts/without-32bit.sh bash scripts/test.sh
set -euo pipefail
fakes=$(mktemp -d)
trap 'rm -rf "$fakes"' EXIT
for program in wine wineserver32; do
  cp "/usr/lib/wine/$program" "$fakes/$program"
  # e_machine (offset 18) := EM_ARM.
  printf '\x28\x00' | dd of="$fakes/$program" bs=1 seek=18 conv=notrunc status=none
done
unshare --mount bash -c 'mount --bind "$1/wine" /usr/lib/wine/wine &&
  mount --bind "$1/wineserver32" /usr/lib/wine/wineserver32 && shift && "$@"' bash "$fakes" "$@"
