#!/usr/bin/env bash
# Builds the program and its unit tests with clang as well, warnings being errors there too, and runs
# those tests under Wine.
# Usage: clang-unit.sh SOURCE BUILD STANDIN   (BUILD: a folder for the clang build; STANDIN: the stand-in
# net.exe, as Wine sees it)
set -euo pipefail
source=$1 build=$2 standin=$3

(cd "$source" && cmake --preset mingw-clang -B "$build" -DMIROLT_TESTS=ON >/dev/null)
cmake --build "$build" -j "$(nproc)" --target Mirolt mirolt_unit >/dev/null
echo "clang: Mirolt.exe is $(stat -c %s "$build/bin/Mirolt.exe") bytes"
# The clang build's test programs take the C++ library's DLLs from here.
runtime=$build/test-runtime
export WINEPATH="Z:${runtime//\//\\}"
exec wine "$build/tests/unit/mirolt_unit.exe" --standin="$standin"
