#!/usr/bin/env bash
# Sets up what is missing, builds Mirolt.exe and runs it under Wine on your display: the 32-bit release, or where
# this machine runs no 32-bit programs, the 64-bit build of the same sources (scripts/wine-mode.sh says which).
# Usage: scripts/run.sh          (DISPLAY must name your X display; MIROLT_WINE64=1 forces the 64-bit way)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no display; set DISPLAY, or try: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi

"$root/scripts/setup.sh"
source "$root/scripts/wine-mode.sh"
build=$root/$mirolt_build
"$root/scripts/build.sh" --preset "$mirolt_preset"

# A prefix of Mirolt's own, whose net.exe really delivers NET SEND messages: Wine's own has no SEND and
# still reports success. The 64-bit build has a 64-bit prefix of its own.
prefix=${MIROLT_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/mirolt/wineprefix${mirolt_build#build}}
"$root/scripts/wine-prefix.sh" "$prefix" "$build/bin/netsend.exe"
export WINEPREFIX=$prefix WINEDEBUG=-all

echo "run: starting $build/bin/Mirolt.exe ($mirolt_bits-bit) in the Wine prefix $prefix"
echo "run: net.exe here delivers to Windows' Messenger service and to Samba over the NetBIOS session service;"
echo "run: to watch a message arrive on this machine, start scripts/receiver.sh in another terminal and send to"
echo "run: 127.0.0.1 (MIROLT_NETSEND_PORT=PORT scripts/run.sh if the receiver said it listens on another port)"
exec "${WINELOADER:-wine}" "$build/bin/Mirolt.exe"
