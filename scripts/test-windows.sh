#!/usr/bin/env bash
# Cross-builds the 64-bit Windows library and its test suite with mingw-w64 and runs the suite
# under wine64, inside an X server of its own (Xvfb) so that the dialogs are real windows; their
# pictures land in build/mingw64/screenshots. The COM-port test downloads from the Linux
# simulator, build/default/sim/quibra-sim (scripts/test.sh builds it).
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh cmake ninja-build g++-mingw-w64-x86-64-posix \
  binutils-mingw-w64-x86-64 libgtest-dev wine64 xvfb xauth imagemagick python3

cmake --preset mingw64 >/dev/null
cmake --build --preset mingw64 -j "$(nproc)"
xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset mingw64 -j "$(nproc)"
