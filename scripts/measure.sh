#!/usr/bin/env bash
# Prints what Mirolt.exe and netsend.exe weigh and what they depend on, against their goals: at most
# 32 KB each (clang's Mirolt.exe 34 KB), and importing system DLLs only.
# Usage: measure.sh [mingw-gcc|mingw-clang]   (the CMake preset to build with; mingw-gcc by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-mingw-gcc}
"$root/scripts/build.sh" --preset "$preset" >/dev/null
case $preset in
    mingw-clang) bin=$root/build-clang/bin mirolt_goal=34816 ;;
    *) bin=$root/build/bin mirolt_goal=32768 ;;
esac

status=0
measure() {
    local exe=$bin/$1 goal=$2 size imports
    size=$(stat -c %s "$exe")
    echo "$1: $size bytes ($((size / 1024)) KB; goal at most $((goal / 1024)) KB:" \
         "$([ "$size" -le "$goal" ] && echo met || echo MISSED))"
    i686-w64-mingw32-objdump -h "$exe" | while read -r _ name hexsize _; do
        case "$name" in .*) printf '  section: %-8s %6d bytes\n' "$name" "$((16#$hexsize))" ;; esac
    done
    imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
    echo "  imports: $imports"
    if echo "$imports" | grep -qiE 'libstdc|libgcc|libwinpthread'; then
        echo "  imports: a MinGW runtime DLL is needed; the exe is not self-contained"
        status=1
    fi
}
measure Mirolt.exe "$mirolt_goal"
measure netsend.exe 32768
exit $status
