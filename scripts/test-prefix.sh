#!/usr/bin/env bash
# Makes the throwaway Wine prefix that the tests share, with the recording stand-in as its net.exe,
# and starts its Wine session.
# Usage: test-prefix.sh PREFIX STANDIN.EXE
set -euo pipefail
prefix=$1
standin=$2
wine=${WINELOADER:-wine}   # the 64-bit loader, where that is the way this machine runs Windows programs

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -d "$prefix" ]; then
    wineserver -k 2>/dev/null || true
    wineserver -w 2>/dev/null || true   # until that server is gone, so that the new prefix gets a server of its own
    rm -rf "$prefix"
fi
"$(dirname "$0")/wine-prefix.sh" "$prefix" "$standin" --unmanaged

# Keep one server and the session's background programs (services, the desktop) running for the whole
# run, so that no test pays for starting them. They are started here, away from any test's output
# pipes: a program started by a test would hold that test's pipes open and keep it from ending.
wineserver -p >/dev/null 2>&1 </dev/null
"$wine" cmd.exe /c exit >/dev/null 2>&1 </dev/null
if [ -n "${DISPLAY:-}" ]; then
    "$wine" explorer.exe /desktop >/dev/null 2>&1 </dev/null &
    sleep 1
fi
echo "Wine prefix ready: $prefix"
