#!/usr/bin/env bash
# Boots a fresh Wine prefix for one test run and keeps its server up between the cases.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix
wine="$(dirname "$0")/../../scripts/wine.sh"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
# The 64-bit loader runs on every x86-64 machine; its prefix also holds the 32-bit side.
"$wine" x86_64 wineboot --init
wineserver -w
# Stays up 60 seconds after its last client: cases start faster, and it never outlives a run long.
wineserver -p60 </dev/null >/dev/null 2>&1
