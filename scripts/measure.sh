#!/usr/bin/env bash
# Prints what Mirolt.exe weighs and what it depends on, against its goals: at most 32 KB, and
# importing system DLLs only.
# Usage: measure.sh [mingw-gcc|mingw-clang]   (the CMake preset to build with; mingw-gcc by default)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
preset=${1:-mingw-gcc}
"$root/scripts/build.sh" --preset "$preset" >/dev/null
case $preset in
    mingw-clang) exe=$root/build-clang/bin/Mirolt.exe ;;
    *) exe=$root/build/bin/Mirolt.exe ;;
esac

size=$(stat -c %s "$exe")
echo "size:    $size bytes ($((size / 1024)) KB; goal at most 32 KB: $([ "$size" -le 32768 ] && echo met || echo MISSED))"
i686-w64-mingw32-objdump -h "$exe" | while read -r _ name hexsize _; do
    case "$name" in .*) printf 'section: %-8s %6d bytes\n' "$name" "$((16#$hexsize))" ;; esac
done
imports=$(i686-w64-mingw32-objdump -p "$exe" | awk '/DLL Name:/ { print $3 }' | sort | tr '\n' ' ')
echo "imports: $imports"
if echo "$imports" | grep -qiE 'libstdc|libgcc|libwinpthread'; then
    echo "imports: a MinGW runtime DLL is needed; the exe is not self-contained"
    exit 1
fi
