#!/usr/bin/env bash
# Runs every test: installs what is missing, then builds and tests each preset.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --workflow --preset host
