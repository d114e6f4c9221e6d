#!/usr/bin/env bash
# Builds the benchmarks (Release, build/bench) and prints the side-by-side table: each speed
# figure of the library beside a reference doing the same work in the same run, with the ratio
# and its goal. Exits non-zero when a figure misses its goal. Note the load average with the
# figures: the ratios hold on a busy machine, the absolute values do not.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/ensure-packages.sh cmake ninja-build g++ libbenchmark-dev libfec-dev sox nlohmann-json3-dev \
  libcli11-dev libcairo2-dev pkg-config libpugixml-dev

cmake -S . -B build/bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUIBRA_BENCH=ON \
  -DQUIBRA_BUILD_TESTS=OFF >/dev/null
cmake --build build/bench --target quibra_side_by_side
echo "load average: $(cut -d' ' -f1-3 /proc/loadavg)"
exec build/bench/bench/quibra_side_by_side
