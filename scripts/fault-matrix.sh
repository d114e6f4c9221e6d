#!/usr/bin/env bash
# Builds the fault matrix (default preset) and runs N trials over every kind of conversation,
# each against a simulated unit behind a seeded fault relay, then the seeds that once went
# wrong; prints the counts by kind and outcome. Exits non-zero when a trial crashed, hung or
# ended in a wrong result (each such trial is printed with its kind and seed).
# Usage: scripts/fault-matrix.sh [N] [SEED] [KIND]
#   scripts/fault-matrix.sh 2000          2000 trials, seed 1
#   scripts/fault-matrix.sh 200 7 identify one kind only
set -euo pipefail
cd "$(dirname "$0")/.."
trials="${1:-300}"
seed="${2:-1}"
kind=()
[[ $# -ge 3 ]] && kind=(--kind "$3")

export CMAKE_CXX_COMPILER_LAUNCHER="${CMAKE_CXX_COMPILER_LAUNCHER:-ccache}"
cmake --preset default >/dev/null
cmake --build --preset default -j "$(nproc)" --target fault_matrix
exec build/default/tests/fault_matrix --trials "$trials" --seed "$seed" "${kind[@]}" \
  --regressions tests/fault/regression_seeds.txt
