#!/usr/bin/env bash
# Boots a fresh Wine prefix for one test run.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix
wine="$(dirname "$0")/../../scripts/wine.sh"
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
# The 64-bit loader runs on every x86-64 machine; its prefix also holds the 32-bit side.
"$wine" x86_64 wineboot --init
wineserver -w
