#!/usr/bin/env bash
# Builds examples/download.c against an installed quibra, as an integrator would, and downloads
# the exercises of a simulated unit (the installed quibra-sim) with it.
# Usage:
#   scripts/try-consumer.sh WORKDIR             the system's quibra (the Debian package):
#                                               pkg-config and quibra-sim from the system
#   scripts/try-consumer.sh WORKDIR BUILD_DIR   installs BUILD_DIR under WORKDIR/prefix first,
#                                               and builds the example with its CMake package too
set -euo pipefail
src="$(cd "$(dirname "$0")/.." && pwd)"
work="$1"
build="${2:-}"
rm -rf "$work"
mkdir -p "$work"
sim=quibra-sim
if [[ -n "$build" ]]; then
  prefix="$work/prefix"
  cmake --install "$build" --prefix "$prefix" >"$work/install.log"
  pc=$(find "$prefix" -name quibra.pc -print -quit)
  export PKG_CONFIG_PATH="$(dirname "$pc")"
  sim="$prefix/bin/quibra-sim"
  # The SONAME and the files every integrator needs are in place.
  for f in include/quibra/quibra.h include/quibra/records.h bin/quibra bin/quibra-sim \
    lib/udev/rules.d/70-quibra-usb-ir.rules; do
    [[ -e "$prefix/$f" ]] || { echo "not installed: $f" >&2; exit 1; }
  done
fi

version=$(pkg-config --modversion quibra)
echo "pkg-config: quibra $version"
libdir=$(pkg-config --variable=libdir quibra)
soname=$(readelf -d "$libdir/libquibra.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[[ "$soname" == "libquibra.so.${version%%.*}" ]] || { echo "SONAME '$soname'" >&2; exit 1; }

# shellcheck disable=SC2046
cc -std=c99 -Wall -Wextra -Werror "$src/examples/download.c" $(pkg-config --cflags --libs quibra) \
  -Wl,-rpath,"$libdir" -o "$work/download"
programs=("$work/download")  # built with pkg-config
if [[ -n "$build" ]]; then
  cmake -S "$src/examples" -B "$work/cmake" -DCMAKE_PREFIX_PATH="$prefix" \
    -DCMAKE_BUILD_RPATH="$libdir" >"$work/cmake.log"
  cmake --build "$work/cmake" >>"$work/cmake.log"
  programs+=("$work/cmake/download")
fi

# A simulated unit with three exercises on a pty: its first line is the pty's path.
coproc SIM { exec "$sim" --type 22 --exercises 3; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
read -r -t 10 port <&"${SIM[0]}"
echo "simulated unit on $port"

for program in "${programs[@]}"; do
  out="$(dirname "$program")/exercises"
  mkdir -p "$out"
  "$program" "$port" "$out"
  for n in 1 2 3; do
    grep -q '^\[Params\]' "$out/exercise-$n.hrm" || { echo "$out/exercise-$n.hrm" >&2; exit 1; }
  done
done
echo "the example downloaded 3 exercises as HRM files"
