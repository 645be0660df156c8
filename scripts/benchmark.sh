#!/usr/bin/env bash
# Builds both Windows programs and measures the start-up cost of each that this machine's Wine
# can run, against a floor of its own architecture.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
for preset in windows windows64; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" --target regval floor advapi32_floor >/dev/null
done
python3 bench/benchmark.py "$@"
