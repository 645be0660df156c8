#!/usr/bin/env bash
# Runs every test: installs what is missing, then the unit tests (host, under ASan and UBSan),
# the Windows build with its release checks, the system tests of that build under Wine, and the
# fuzzers for a bounded time (REGVAL_FUZZ_SECONDS each, default 30).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --workflow --preset host
cmake --workflow --preset windows
cmake --workflow --preset system
cmake --preset fuzz -DREGVAL_FUZZ_SECONDS="${REGVAL_FUZZ_SECONDS:-30}" >/dev/null
cmake --build --preset fuzz
ctest --preset fuzz
