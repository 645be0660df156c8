#!/usr/bin/env bash
# Boots a fresh Wine prefix for one test run and keeps its server up between the cases.
set -euo pipefail
prefix=$1
export WINEPREFIX=$prefix WINEDEBUG=-all
# No Mono or Gecko: nothing here needs them, and their install prompts would wait for a person.
export WINEDLLOVERRIDES="mscoree,mshtml="
wineserver -k 2>/dev/null || true
rm -rf "$prefix"
wineboot --init
wineserver -w
# Stays up 60 seconds after its last client: cases start faster, and it never outlives a run long.
wineserver -p60 </dev/null >/dev/null 2>&1
