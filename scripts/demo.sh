#!/usr/bin/env bash
# The program's main job under Wine: builds regval.exe and regval64.exe, writes a value, reads it
# back into a file. Runs regval.exe where this machine can run 32-bit programs, else regval64.exe.
set -Eeuo pipefail
cd "$(dirname "$0")/.."
root=$PWD
trap 'echo "demo failed: \"$BASH_COMMAND\" exited with status $?" >&2' ERR

bash scripts/install-deps.sh
mkdir -p build
for preset in windows windows64; do
  { cmake --preset "$preset" && cmake --build --preset "$preset" --target regval; } \
    >"build/$preset.log" 2>&1 ||
    { echo "demo failed: building the $preset preset; see build/$preset.log" >&2; exit 1; }
done

if why=$(bash scripts/wine.sh i686 2>&1); then
  arch=i686 build=windows program=regval.exe
  echo "Running regval.exe, the 32-bit program: this machine's Wine runs 32-bit programs."
elif [ $? -eq 77 ]; then
  arch=x86_64 build=windows64 program=regval64.exe
  echo "Running regval64.exe, the 64-bit program: $why."
else
  echo "demo failed: Wine's 32-bit loader is broken: $why" >&2
  exit 1
fi
wine() { bash "$root/scripts/wine.sh" "$arch" "$@"; }

export WINEPREFIX="$PWD/build/demo-prefix"
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  echo "Booting the Wine prefix build/demo-prefix (once)..."
  bash scripts/wine.sh x86_64 wineboot --init >build/demo-boot.log 2>&1 ||
    { echo "demo failed: booting the Wine prefix; see build/demo-boot.log" >&2; exit 1; }
fi
regval="$root/build/$build/$program"
mkdir -p build/demo && cd build/demo

# regval writes only into existing keys; Wine's own reg.exe makes this one.
bash "$root/scripts/wine.sh" x86_64 reg add 'HKCU\Software\regval-demo' /f >/dev/null

run() {
  echo "\$ $program $*"
  local status=0
  wine "$regval" "$@" 2>wine.log || status=$?
  grep -h debugstr wine.log || true
  echo "exit code $status"
  return "$status"
}

run W HKEY_CURRENT_USER 'Software\regval-demo' Greeting Hello
run R HKEY_CURRENT_USER 'Software\regval-demo' Greeting greeting.txt
echo "greeting.txt holds: $(od -An -c greeting.txt)"
echo
echo "A failure: exit code 1, and a diagnostic on the debug-output channel (WINEDEBUG=+debugstr):"
WINEDEBUG=-all,+debugstr run R HKEY_CURRENT_USER 'Software\regval-demo' NoSuchValue missing.txt ||
  true
