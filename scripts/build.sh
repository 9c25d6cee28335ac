#!/usr/bin/env bash
# Configures and builds Mirolt.exe (and, with --tests, the tests) through a CMake preset: mingw-gcc
# into build/ (the default), mingw-clang into build-clang/, or, for testing where 32-bit programs cannot run,
# mingw-gcc-x64 into build-x64/ and mingw-clang-x64 into build-x64-clang/.
# Usage: build.sh [--tests] [--preset mingw-gcc|mingw-clang|mingw-gcc-x64|mingw-clang-x64]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

usage() {
    echo "usage: build.sh [--tests] [--preset mingw-gcc|mingw-clang|mingw-gcc-x64|mingw-clang-x64]" >&2
    exit 2
}
tests=OFF
preset=mingw-gcc
while [ $# -gt 0 ]; do
    case $1 in
        --tests) tests=ON ;;
        --preset) [ $# -ge 2 ] || usage; preset=$2; shift ;;
        *) usage ;;
    esac
    shift
done
case $preset in
    mingw-gcc) build=$root/build ;;
    mingw-clang) build=$root/build-clang ;;
    mingw-gcc-x64) build=$root/build-x64 ;;
    mingw-clang-x64) build=$root/build-x64-clang ;;
    *) usage ;;
esac

cd "$root"
cmake --preset "$preset" -DMIROLT_TESTS=$tests >/dev/null
cmake --build --preset "$preset" -j "$(nproc)"
echo "build: $build/bin/Mirolt.exe ($(stat -c %s "$build/bin/Mirolt.exe") bytes)"
