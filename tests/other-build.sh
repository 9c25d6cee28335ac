#!/usr/bin/env bash
# Builds the program another way (another compiler or width) through a CMake preset, into a folder of its own,
# warnings being errors there too; then runs the command that follows "--", if any.
# Usage: other-build.sh SOURCE PRESET BUILD [-DNAME=VALUE...] TARGET... [-- COMMAND...]
set -euo pipefail
source=$1 preset=$2 build=$3
shift 3
options=() targets=()
while [ $# -gt 0 ] && [ "$1" != -- ]; do
    case $1 in -D*) options+=("$1") ;; *) targets+=("$1") ;; esac
    shift
done
(cd "$source" && cmake --preset "$preset" -B "$build" "${options[@]}" >/dev/null)
cmake --build "$build" -j "$(nproc)" --target "${targets[@]}" >/dev/null
echo "$preset: built ${targets[*]} in $build"
[ $# -gt 1 ] || exit 0
shift
# A clang build's test programs take the C++ library's DLLs from here.
export WINEPATH="Z:${build//\//\\}\\test-runtime"
exec "$@"
