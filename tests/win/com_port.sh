#!/usr/bin/env bash
# The COM-port download: the Linux quibra-sim serves a type-22 unit with three exercises on a
# pty, wine's COM5 is linked to that pty, and the Windows test program downloads through it.
# Usage: com_port.sh TEST_PROGRAM QUIBRA_SIM WORKDIR   (WINEPREFIX from the environment)
set -euo pipefail
program="$1"
sim="$2"
work="$3"
here="$(dirname "$0")"
[[ -x "$sim" ]] || { echo "no Linux quibra-sim at $sim (build the default preset first)" >&2; exit 1; }
rm -rf "$work"
mkdir -p "$work"

coproc SIM { exec "$sim" --type 22 --exercises 3; }
sim_pid=$SIM_PID
trap 'kill "$sim_pid" 2>/dev/null || true' EXIT
read -r -t 10 pty <&"${SIM[0]}"
echo "simulated unit on $pty, wine's COM5"
ln -sfn "$pty" "$WINEPREFIX/dosdevices/com5"

# wine's drive Z: is the root of the Linux file system.
QUIBRA_COM_PORT=COM5 QUIBRA_COM_OUT="Z:$(cd "$work" && pwd)" \
  bash "$here/wine.sh" "$program" --gtest_filter='ComPort.*'
rm -f "$WINEPREFIX/dosdevices/com5"
ls "$work"/exercise-*.hrm
