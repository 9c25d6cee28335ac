#!/usr/bin/env bash
# Configures and builds Mirolt.exe (and, with --tests, the tests) into build/.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

tests=OFF
if [ "${1:-}" = "--tests" ]; then
    tests=ON
fi
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/toolchain-i686-mingw.cmake" \
      -DCMAKE_BUILD_TYPE=MinSizeRel -DMIROLT_TESTS=$tests >/dev/null
cmake --build "$build" -j "$(nproc)"
echo "build: $build/bin/Mirolt.exe ($(stat -c %s "$build/bin/Mirolt.exe") bytes)"
