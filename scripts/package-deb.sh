#!/usr/bin/env bash
# Builds the Debian package from the already built default tree (cpack -G DEB), installs it with
# dpkg, builds examples/download.c against it with pkg-config, runs it against the installed
# quibra-sim and removes the package again (also when a step fails).
# Usage: scripts/package-deb.sh [BUILD_DIR]   (default build/default; root, as in CI)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build/default}"

bash scripts/ensure-packages.sh dpkg-dev file pkg-config gcc

cmake --build "$build" -j "$(nproc)"
(cd "$build" && cpack -G DEB -B "$PWD/packages" >/dev/null)
deb=$(ls "$build"/packages/quibra_*.deb)
echo "package: $deb"
dpkg-deb --info "$deb" | sed -n 's/^ \(Depends\|Recommends\|Version\):/  \1:/p'

dpkg -i "$deb"
trap 'dpkg -r quibra >/dev/null' EXIT
bash scripts/try-consumer.sh "$build/consumer"
trap - EXIT
dpkg -r quibra
echo "package installed, used and removed"
