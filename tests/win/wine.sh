#!/usr/bin/env bash
# Runs a Windows program under wine64: the emulator of the 64-bit Windows build's tests. The
# prefix (WINEPREFIX) is the one the test names, by default build/mingw64/wine beside this tree's
# build; it is made once per run by the suite's first test (wineboot).
set -euo pipefail
export WINEPREFIX="${WINEPREFIX:-$(cd "$(dirname "$0")/../.." && pwd)/build/mingw64/wine}"
export WINEDEBUG="${WINEDEBUG:--all}"
# Debian installs the 64-bit loader outside PATH (the wine package adds the wrapper).
wine=$(command -v wine64 || true)
[[ -n "$wine" ]] || wine=/usr/lib/wine/wine64
exec "$wine" "$@"
