#!/usr/bin/env bash
# The one place that decides which Windows programs this machine's Wine can run, by trying it.
#
#   wine.sh ARCH                  exit 0: Wine runs ARCH programs here; 77 and one line on stderr
#                                 saying why when this machine cannot; anything else: Wine is broken
#   wine.sh ARCH PROGRAM ARGS...  runs PROGRAM under the Wine loader of ARCH, or exits 77 as above
#   wine.sh ARCH --loader         prints the loader's path, or exits 77 as above (for measuring
#                                 programs without this script's own start-up)
#
# ARCH is i686 (32-bit, regval.exe) or x86_64 (64-bit, regval64.exe). Some x86-64 kernels cannot
# start 32-bit Linux programs at all, and Wine's 32-bit loader is one; its 64-bit loader runs
# everywhere. REGVAL_NO_32BIT=1 makes a machine that can run both behave as one that cannot.
set -uo pipefail

readonly cannot_run_status=77
arch=${1:?usage: wine.sh ARCH [PROGRAM ARGS...]}
shift

case $arch in
  i686) loader=/usr/lib/wine/wine ;;
  x86_64) loader=/usr/lib/wine/wine64 ;;
  *) echo "wine.sh: unknown architecture $arch" >&2; exit 2 ;;
esac

cannot_run() {
  echo "32-bit programs cannot run on this machine ($1)" >&2
  exit "$cannot_run_status"
}

if [ "$arch" = i686 ] && [ "${REGVAL_NO_32BIT:-0}" = 1 ]; then
  cannot_run "REGVAL_NO_32BIT=1"
fi
if [ ! -x "$loader" ]; then
  echo "wine.sh: $loader is missing: run scripts/install-deps.sh" >&2
  exit 2
fi
# Trying the loader itself needs no prefix: the kernel either starts it or refuses its format.
if ! probe=$("$loader" --version 2>&1); then
  if [ "$arch" = i686 ] && [[ $probe == *"Exec format error"* ]]; then
    cannot_run "the kernel refuses to start Wine's 32-bit loader: Exec format error"
  fi
  echo "wine.sh: $loader does not start: $probe" >&2
  exit 2
fi
[ $# -eq 0 ] && exit 0
if [ "$1" = --loader ]; then
  echo "$loader"
  exit 0
fi

# No Mono or Gecko: nothing here needs them, and their install prompts would wait for a person.
export WINEDLLOVERRIDES=${WINEDLLOVERRIDES:-mscoree,mshtml=}
export WINEDEBUG=${WINEDEBUG:--all}
exec "$loader" "$@"
