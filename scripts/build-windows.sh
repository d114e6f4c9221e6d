#!/usr/bin/env bash
# Cross-builds the 32-bit quibra.dll with mingw-w64 (installed when missing). The build fails
# when the DLL's export table does not match include/quibra/quibra.h.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh cmake ninja-build g++-mingw-w64-i686-posix binutils-mingw-w64-i686 python3

cmake --preset mingw32
cmake --build --preset mingw32 -j "$(nproc)"
