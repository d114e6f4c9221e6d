#!/usr/bin/env bash
# Runs the dialog test of the Windows suite (real windows: it needs an X server, Xvfb in CI) and
# turns the pictures it captures into PNGs in SCREENSHOT_DIR. Exits 77 (skipped) without a
# display.
# Usage: dialogs.sh TEST_PROGRAM SCREENSHOT_DIR   (WINEPREFIX from the environment)
set -euo pipefail
program="$1"
dir="$2"
[[ -n "${DISPLAY:-}" ]] || { echo "no X display (run under xvfb-run)"; exit 77; }
rm -rf "$dir"
mkdir -p "$dir"
# wine's drive Z: is the root of the Linux file system.
QUIBRA_SCREENSHOT_DIR="Z:$(cd "$dir" && pwd)" \
  bash "$(dirname "$0")/wine.sh" "$program" --gtest_filter='Dialogs.*'
shopt -s nullglob
pictures=("$dir"/*.bmp)
((${#pictures[@]} > 0)) || { echo "no picture was captured" >&2; exit 1; }
for bmp in "${pictures[@]}"; do
  convert "$bmp" "${bmp%.bmp}.png"
  rm "$bmp"
  echo "screenshot: ${bmp%.bmp}.png"
done
