#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (installing clang and its fuzzer runtime when missing)
# and runs them on corpora seeded by their seed writers:
#   analyze_file      exercise memories for the decoder of every unit family
#   sound_reception   recordings, byte streams and assembled data of a sound download
# Exits non-zero when a fuzzer finds a crash, a leak or undefined behaviour; the reproducer is
# left in build/fuzz/.
# Usage: scripts/fuzz.sh [TARGET] [SECONDS]
#   scripts/fuzz.sh 60                  every target, the 60 seconds split between them
#   scripts/fuzz.sh sound_reception 120 one target for 120 seconds
set -euo pipefail
cd "$(dirname "$0")/.."

targets=(analyze_file sound_reception)
if [[ $# -ge 1 && "$1" =~ ^[0-9]+$ ]]; then
  chosen=("${targets[@]}")
  seconds="$1"
elif [[ $# -ge 1 ]]; then
  if [[ ! " ${targets[*]} " =~ " $1 " ]]; then
    echo "unknown target '$1' (targets: ${targets[*]})" >&2
    exit 2
  fi
  chosen=("$1")
  seconds="${2:-60}"
else
  chosen=("${targets[@]}")
  seconds=60
fi
share=$((seconds / ${#chosen[@]}))
((share > 0)) || share=1

# The longest input of each target: an exercise memory, or a recording of a short transfer.
declare -A max_len=([analyze_file]=4096 [sound_reception]=200000)

bash scripts/ensure-packages.sh clang libclang-rt-dev cmake ninja-build python3 nlohmann-json3-dev

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUIBRA_FUZZ=ON -DQUIBRA_BUILD_TESTS=OFF
build_targets=()
for t in "${chosen[@]}"; do build_targets+=("${t}_fuzz" "${t}_seeds"); done
cmake --build build/fuzz --target "${build_targets[@]}"

for t in "${chosen[@]}"; do
  corpus="build/fuzz/corpus-$t"
  mkdir -p "$corpus"
  "./build/fuzz/${t}_seeds" "$corpus"
  echo "fuzzing $t for $share s"
  (cd build/fuzz && "./${t}_fuzz" -max_total_time="$share" -max_len="${max_len[$t]}" \
    -rss_limit_mb=2048 -print_final_stats=1 "corpus-$t")
done
