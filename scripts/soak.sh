#!/bin/sh
# The full soak: 1000 conversations with the simulated unit and 200 loads of the shared library
# in one process, printing the descriptors, threads and memory sampled every 100 conversations
# and every 20 loads. Exits non-zero when any of them grew or a conversation failed.
#   scripts/soak.sh [build-dir]
set -eu
build="${1:-$(dirname "$0")/../build/default}"
cmake --build "$build" --target soak
exec "$build/tests/soak" 1000 200 100
