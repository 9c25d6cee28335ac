#!/usr/bin/env bash
# Makes a Wine prefix for Mirolt, or refreshes one: Wine's own fonts where its programs find them
# (the window captions need Marlett), and the given program in place of the system's net.exe.
# Usage: wine-prefix.sh PREFIX NET.EXE [--unmanaged]
#   --unmanaged  Wine draws its windows' frames itself, for a display without a window manager.
# Runs programs with WINELOADER when that is set (a 64-bit prefix), else with wine.
set -euo pipefail
prefix=$1
net=$2
wine=${WINELOADER:-wine}

export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$prefix/system.reg" ]; then
    mkdir -p "$prefix"
    "$wine" wineboot -i >/dev/null 2>&1 || { echo "wine-prefix: $wine could not make a prefix in $prefix" >&2; exit 1; }
fi
if [ "${3:-}" = "--unmanaged" ]; then
    # Managed windows also stall Wine about 2 s whenever one hides, with no window manager to answer.
    "$wine" reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
fi
# A 64-bit prefix would start Wine's own net.exe, whatever file lies in system32; this makes it start the file.
"$wine" reg add 'HKCU\Software\Wine\DllOverrides' /v net.exe /d native /f >/dev/null 2>&1
wineserver -w

cp /usr/share/wine/fonts/* "$prefix/drive_c/windows/Fonts/"
# A 32-bit program's system32 is syswow64 in a 64-bit prefix; replace both copies.
for folder in syswow64 system32; do
    if [ -d "$prefix/drive_c/windows/$folder" ]; then
        cp "$net" "$prefix/drive_c/windows/$folder/net.exe"
    fi
done
