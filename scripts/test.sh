#!/usr/bin/env bash
# Runs every test: installs what is missing, then the unit tests (host, under ASan and UBSan),
# the Windows build, and the system tests of that build under Wine.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh
cmake --workflow --preset host
cmake --workflow --preset windows
cmake --workflow --preset system
