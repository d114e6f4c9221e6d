#!/usr/bin/env bash
# Cross-builds the 32-bit quibra.dll with mingw-w64 (installed when missing). The build fails
# when the DLL's export table does not match include/quibra/quibra.h.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake ninja-build g++-mingw-w64-i686-posix binutils-mingw-w64-i686 python3)
missing=()
for p in "${packages[@]}"; do
  dpkg -s "$p" >/dev/null 2>&1 || missing+=("$p")
done
if ((${#missing[@]})); then
  echo "installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq
  apt-get install -y -qq --no-install-recommends "${missing[@]}"
fi

cmake --preset mingw32
cmake --build --preset mingw32 -j "$(nproc)"
