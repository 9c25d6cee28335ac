#!/usr/bin/env bash
# Sets up what is missing, builds Mirolt.exe and runs it under Wine on your display.
# Usage: scripts/run.sh          (DISPLAY must name your X display)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

if [ -z "${DISPLAY:-}" ]; then
    echo "run: no display; set DISPLAY, or try: xvfb-run -a scripts/run.sh" >&2
    exit 1
fi

"$root/scripts/setup.sh"
"$root/scripts/build.sh"

# A prefix of Mirolt's own, whose net.exe really delivers NET SEND messages: Wine's own has no SEND and
# still reports success.
prefix=${MIROLT_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/mirolt/wineprefix}
"$root/scripts/wine-prefix.sh" "$prefix" "$build/bin/netsend.exe"
export WINEPREFIX=$prefix WINEDEBUG=-all

echo "run: starting $build/bin/Mirolt.exe"
echo "run: net.exe here delivers to Windows' Messenger service and to Samba over the NetBIOS session service;"
echo "run: to watch a message arrive on this machine, start scripts/receiver.sh in another terminal and send to"
echo "run: 127.0.0.1 (MIROLT_NETSEND_PORT=PORT scripts/run.sh if the receiver said it listens on another port)"
exec wine "$build/bin/Mirolt.exe"
