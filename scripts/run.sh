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

# A prefix of Mirolt's own, whose net.exe tells the truth: Wine cannot deliver NET SEND messages.
prefix=${MIROLT_WINEPREFIX:-${XDG_DATA_HOME:-$HOME/.local/share}/mirolt/wineprefix}
"$root/scripts/wine-prefix.sh" "$prefix" "$build/wine/net.exe"
export WINEPREFIX=$prefix WINEDEBUG=-all

echo "run: starting $build/bin/Mirolt.exe"
echo "run: note that under Wine no message can be delivered; Mirolt will report net.exe's failure."
exec wine "$build/bin/Mirolt.exe"
