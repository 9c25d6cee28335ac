#!/usr/bin/env bash
# Makes a throwaway Wine prefix for the tests: no Mono or Gecko prompts, no window-manager stalls,
# and the recording stand-in in place of the system's net.exe, so that every launch can be observed.
# Usage: prepare-wine-prefix.sh PREFIX STANDIN.EXE
set -euo pipefail
prefix=$1
standin=$2

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ -d "$prefix" ]; then
    wineserver -k 2>/dev/null || true
    rm -rf "$prefix"
fi
wineboot -i >/dev/null 2>&1
# Without a window manager, Wine stalls about 2 s whenever a managed window hides; unmanaged windows do not.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wineserver -w

# A 32-bit program's system32 is syswow64 in a 64-bit prefix; replace both copies.
for folder in syswow64 system32; do
    if [ -d "$prefix/drive_c/windows/$folder" ]; then
        cp "$standin" "$prefix/drive_c/windows/$folder/net.exe"
    fi
done
# Keep one server and the session's background programs (services, the desktop) running for the whole
# run, so that no test pays for starting them. They are started here, away from any test's output
# pipes: a program started by a test would hold that test's pipes open and keep it from ending.
wineserver -p >/dev/null 2>&1 </dev/null
wine cmd.exe /c exit >/dev/null 2>&1 </dev/null
if [ -n "${DISPLAY:-}" ]; then
    wine explorer.exe /desktop >/dev/null 2>&1 </dev/null &
    # The desktop is up once its window exists; Wine's start-up takes a moment.
    for _ in $(seq 50); do
        pgrep -f 'explorer.exe /desktop' >/dev/null && break
        sleep 0.1
    done
fi
echo "Wine prefix ready: $prefix"
