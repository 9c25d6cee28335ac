#!/usr/bin/env bash
# Configures and builds Mirolt.exe, netsend.exe (and, with --tests, the tests) through a CMake preset: mingw-gcc
# into build/ (the default), mingw-clang into build-clang/, or, for testing where 32-bit programs cannot run,
# mingw-gcc-x64 into build-x64/ and mingw-clang-x64 into build-x64-clang/; with --folder, into DIR instead.
# Usage: build.sh [--tests] [--preset PRESET] [--folder DIR] [TARGET...]   (every target unless some are named)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    sed -n 's/^# Usage: /usage: /p' "$0" >&2
    exit 2
}
tests=OFF preset=mingw-gcc build= targets=()
while [ $# -gt 0 ]; do
    case $1 in
        --tests) tests=ON ;;
        --preset) [ $# -ge 2 ] || usage; preset=$2; shift ;;
        --folder) [ $# -ge 2 ] || usage; build=$2; shift ;;
        -*) usage ;;
        *) targets+=("$1") ;;
    esac
    shift
done
case $preset in
    mingw-gcc) build=${build:-$root/build} ;;
    mingw-clang) build=${build:-$root/build-clang} ;;
    mingw-gcc-x64) build=${build:-$root/build-x64} ;;
    mingw-clang-x64) build=${build:-$root/build-x64-clang} ;;
    *) usage ;;
esac

cd "$root"
cmake --preset "$preset" -B "$build" -DMIROLT_TESTS=$tests >/dev/null
cmake --build "$build" -j "$(nproc)" ${targets[@]+--target "${targets[@]}"}
if [ -f "$build/bin/Mirolt.exe" ]; then
    echo "build: $build/bin/Mirolt.exe ($(stat -c %s "$build/bin/Mirolt.exe") bytes)"
fi
