#!/usr/bin/env bash
# Builds the libFuzzer target for fnQuibra_AnalyzeFile with clang (installing clang and its
# fuzzer runtime when missing) and runs it for the given number of seconds (default 60) on a
# corpus seeded with encoder-built images. Exits non-zero when the fuzzer finds a crash, a leak
# or undefined behaviour; the reproducer is left in build/fuzz/.
# Usage: scripts/fuzz.sh [seconds]
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:-60}"

bash scripts/ensure-packages.sh clang libclang-rt-dev cmake ninja-build python3

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUIBRA_FUZZ=ON -DQUIBRA_BUILD_TESTS=OFF
cmake --build build/fuzz --target analyze_file_fuzz analyze_file_seeds
mkdir -p build/fuzz/corpus
./build/fuzz/analyze_file_seeds build/fuzz/corpus
cd build/fuzz
./analyze_file_fuzz -max_total_time="$seconds" -max_len=4096 -rss_limit_mb=2048 \
  -print_final_stats=1 corpus
