#!/usr/bin/env bash
# Installs what the build needs (when it is missing), builds the quibra tool and runs its demo:
# a simulated wrist unit on a pseudo-terminal, talked to through the library.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh cmake ninja-build g++ libgtest-dev libgmock-dev nlohmann-json3-dev libpng-dev libcli11-dev libpugixml-dev libcairo2-dev pkg-config python3 binutils

cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target quibra_cli >/dev/null
exec build/default/tools/cli/quibra demo "$@"
