#!/usr/bin/env bash
# Builds both Windows programs and measures the start-up cost of each that this machine's Wine
# can run, against a floor of its own architecture.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --workflow --preset windows >/dev/null
cmake --workflow --preset windows64 >/dev/null
python3 bench/benchmark.py "$@"
