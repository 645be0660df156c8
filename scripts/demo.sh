#!/usr/bin/env bash
# The program's main job under Wine: builds regval.exe, writes a value, reads it back into a file.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --workflow --preset windows >/dev/null

export WINEPREFIX="$PWD/build/demo-prefix" WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Booting the Wine prefix build/demo-prefix (once)..."
  wineboot --init >/dev/null 2>&1
fi
regval="$PWD/build/windows/regval.exe"
mkdir -p build/demo && cd build/demo

# regval writes only into existing keys; the test helper makes this one.
wine ../windows/tests/system/regtool.exe key HKCU 'Software\regval-demo' >/dev/null

run() {
  echo "\$ regval $*"
  local status=0
  wine "$regval" "$@" 2>wine.log || status=$?
  grep -h debugstr wine.log || true
  echo "exit code $status"
}

run W HKEY_CURRENT_USER 'Software\regval-demo' Greeting Hello
run R HKEY_CURRENT_USER 'Software\regval-demo' Greeting greeting.txt
echo "greeting.txt holds: $(od -An -c greeting.txt)"
echo
echo "A failure: exit code 1, and a diagnostic on the debug-output channel (WINEDEBUG=+debugstr):"
WINEDEBUG=-all,+debugstr run R HKEY_CURRENT_USER 'Software\regval-demo' NoSuchValue missing.txt
