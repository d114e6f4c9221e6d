#!/usr/bin/env bash
# Installs what the build needs (when it is missing), configures, builds and runs the whole test
# suite. Usage: scripts/test.sh [default|asan|tsan]
set -euo pipefail
cd "$(dirname "$0")/.."
preset="${1:-default}"

# The file-format tests read the tool's FIT files back with the FIT SDK (node, from npm) and its
# TCX files with GPSBabel. npm comes with some builds of nodejs, so it is asked for only when
# missing.
format_checkers=(gpsbabel)
command -v npm >/dev/null || format_checkers+=(nodejs npm)
bash scripts/ensure-packages.sh cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev libpng-dev libcli11-dev libpugixml-dev libcairo2-dev pkg-config python3 binutils "${format_checkers[@]}"

cmake --preset "$preset"
cmake --build --preset "$preset" -j "$(nproc)"
# Most tests spend their time waiting on the simulated unit's pauses rather than computing: three
# at a time per core keep the cores busy and take a third of the time.
ctest --preset "$preset" -j "$(($(nproc) * 3))"
