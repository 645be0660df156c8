#!/usr/bin/env bash
# Runs every test: installs what is missing, then the unit tests (host, under ASan and UBSan),
# both Windows builds with their release checks, the reproducibility test and the system tests of
# each program under Wine, and the fuzzers for a bounded time (REGVAL_FUZZ_SECONDS each, default
# 30). Where this machine cannot run 32-bit programs (or REGVAL_NO_32BIT=1), the system tests of
# regval.exe are reported skipped.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --workflow --preset host
# The 64-bit build first: the 32-bit system tests also run regval64.exe, for the registry views.
cmake --workflow --preset windows64
status=0
why=$(bash scripts/wine.sh i686 2>&1) || status=$?
case $status in
  0) ;;
  77) echo "$why: system tests of regval.exe skipped" ;;
  *) echo "Wine's 32-bit loader is broken, so the system tests of regval.exe will fail: $why" ;;
esac
cmake --workflow --preset windows
cmake --preset fuzz -DREGVAL_FUZZ_SECONDS="${REGVAL_FUZZ_SECONDS:-30}" >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz
