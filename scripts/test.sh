#!/usr/bin/env bash
# Installs what the build needs (when it is missing), configures, builds and runs the whole test
# suite. Usage: scripts/test.sh [default|asan|tsan]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

bash scripts/ensure-packages.sh cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev libpng-dev libcli11-dev libcairo2-dev pkg-config python3 binutils

cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
ctest --preset "$preset" -j "$(nproc)"
