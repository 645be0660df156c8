#!/usr/bin/env bash
# Builds the Windows programs and measures regval.exe's start-up cost under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh
cmake --workflow --preset windows >/dev/null
python3 bench/benchmark.py "$@"
