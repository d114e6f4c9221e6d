#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (installing clang and its fuzzer runtime when missing)
# and runs them on corpora seeded by their seed writers:
#   analyze_file       exercise memories for the decoder of every unit family
#   sound_reception    recordings, byte streams and assembled data of a sound download
#   memory_files       memory text dumps and binary exercise files
#   data_file          data files that stand in for a unit, and the settings they unpack into
#   unit_answers       identification answers, IrDA answers, file packets, IrDA device names
#   settings_readback  unit answers to every settings read-back
# Exits non-zero when a fuzzer finds a crash, a leak, undefined behaviour or a time-out; the
# reproducer is left in build/fuzz/.
# Usage:
#   scripts/fuzz.sh [SECONDS]              every target, the seconds (default 60) split between them
#   scripts/fuzz.sh TARGET [SECONDS]       one target for that long (default 60)
#   scripts/fuzz.sh long TARGET [RUNS] [JOBS]
#       one target until RUNS executions (default 10000000) in JOBS parallel processes (default
#       1), then the figures for the issue note: executions, coverage (cov, ft), corpus size
set -euo pipefail
cd "$(dirname "$0")/.."
root="$PWD"

targets=(analyze_file sound_reception memory_files data_file unit_answers settings_readback)
# The longest input of each target: an exercise memory, a file, a conversation of a few
# answers, or two Reed-Solomon blocks of a sound transfer (every block costs the sound target a
# decode, and a recording of a whole transfer needs about 14000 bytes, which runs at a few
# hundred executions a second). Each keeps its target near 10 000 executions a second on one
# core. FUZZ_MAX_LEN overrides it for a run (e.g. FUZZ_MAX_LEN=14000 for whole recordings).
declare -A max_len=([analyze_file]=4096 [sound_reception]=512 [memory_files]=8192
  [data_file]=2048 [unit_answers]=4096 [settings_readback]=4096)
# Tokens that help a target past the comparisons it makes.
declare -A dict=([memory_files]=fuzz/memory_files.dict [data_file]=fuzz/data_file.dict
  [unit_answers]=fuzz/unit_answers.dict)

known() {
  [[ " ${targets[*]} " =~ " $1 " ]] || {
    echo "unknown target '$1' (targets: ${targets[*]})" >&2
    exit 2
  }
}

long=0
runs=10000000
jobs=1
if [[ $# -ge 1 && "$1" == long ]]; then
  [[ $# -ge 2 ]] || { echo "usage: $0 long TARGET [RUNS] [JOBS]" >&2; exit 2; }
  known "$2"
  long=1
  chosen=("$2")
  runs="${3:-$runs}"
  jobs="${4:-$jobs}"
elif [[ $# -ge 1 && "$1" =~ ^[0-9]+$ ]]; then
  chosen=("${targets[@]}")
  seconds="$1"
elif [[ $# -ge 1 ]]; then
  known "$1"
  chosen=("$1")
  seconds="${2:-60}"
else
  chosen=("${targets[@]}")
  seconds=60
fi

bash scripts/ensure-packages.sh clang libclang-rt-dev cmake ninja-build python3 nlohmann-json3-dev \
  libcli11-dev libcairo2-dev pkg-config libpugixml-dev

CC=clang CXX=clang++ cmake -S . -B build/fuzz -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  "-DCMAKE_C_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" "-DCMAKE_CXX_FLAGS_RELWITHDEBINFO=-O2 -g1 -DNDEBUG" \
  -DQUIBRA_FUZZ=ON -DQUIBRA_BUILD_TESTS=OFF >/dev/null
build_targets=()
for t in "${chosen[@]}"; do build_targets+=("${t}_fuzz" "${t}_seeds"); done
cmake --build build/fuzz --target "${build_targets[@]}"

options() {
  local t="$1"
  echo "-max_len=${FUZZ_MAX_LEN:-${max_len[$t]}} -rss_limit_mb=2048 -timeout=10 -print_final_stats=1"
  if [[ -n "${dict[$t]:-}" ]]; then echo "-dict=$root/${dict[$t]}"; fi
}

seed() {
  local corpus="build/fuzz/corpus-$1"
  mkdir -p "$corpus"
  "./build/fuzz/${1}_seeds" "$corpus" >/dev/null
}

if ((long)); then
  t="${chosen[0]}"
  seed "$t"
  log="build/fuzz/long-$t.log"
  echo "fuzzing $t for $runs executions in $jobs process(es); log in $log"
  # With several jobs each runs its share of the executions and logs to build/fuzz/fuzz-N.log.
  per_job=$(((runs + jobs - 1) / jobs))
  rm -f build/fuzz/fuzz-*.log
  status=0
  # shellcheck disable=SC2046
  if ((jobs > 1)); then
    (cd build/fuzz && "./${t}_fuzz" $(options "$t") -runs="$per_job" -jobs="$jobs" \
      -workers="$jobs" "corpus-$t") >"$log" 2>&1 || status=$?
    logs=(build/fuzz/fuzz-*.log)
  else
    (cd build/fuzz && "./${t}_fuzz" $(options "$t") -runs="$per_job" "corpus-$t") >"$log" 2>&1 \
      || status=$?
    logs=("$log")
  fi
  # The figures for the note: each process's executions and its last coverage line (cov: edges,
  # ft: features, corp: inputs/bytes), the total, and the corpus kept.
  total=0
  for f in "${logs[@]}"; do
    n=$(grep -oE "stat::number_of_executed_units: [0-9]+" "$f" | tail -1 | grep -oE "[0-9]+$" || echo 0)
    total=$((total + n))
    echo "$(basename "$f"): executions $n; $(grep -E "^#[0-9]+" "$f" | tail -1)"
  done
  echo "executions: $total"
  echo "corpus: $(find "build/fuzz/corpus-$t" -type f | wc -l) inputs"
  grep -hE "ERROR|SUMMARY" "${logs[@]}" || true
  exit "$status"
fi

share=$((seconds / ${#chosen[@]}))
((share > 0)) || share=1
for t in "${chosen[@]}"; do
  seed "$t"
  echo "fuzzing $t for $share s"
  # shellcheck disable=SC2046
  (cd build/fuzz && "./${t}_fuzz" $(options "$t") -max_total_time="$share" "corpus-$t")
done
