#!/usr/bin/env bash
# Builds the program a second time, from a copy of the sources in another folder, and checks that
# the given files of the first build come out byte for byte the same. SOURCE_DATE_EPOCH must hold
# the time the first build was stamped with.
# Usage: reproducible.sh SOURCE BUILD TOOLCHAIN BUILD_TYPE FILE...   (each FILE inside BUILD)
set -euo pipefail
source=$1 build=$2 toolchain=$3 type=$4
shift 4
: "${SOURCE_DATE_EPOCH:?reproducible: SOURCE_DATE_EPOCH is not set}"

work=$(mktemp -d "${TMPDIR:-/tmp}/mirolt-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/sources"

# The sources as they are, committed or not: the files git does not ignore (build folders are); those
# deleted and not yet committed are passed over.
git -C "$source" ls-files -z --cached --others --exclude-standard |
    tar -C "$source" --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -xf - -C "$work/sources"
case $toolchain in
    "$source"/*) toolchain=$work/sources/${toolchain#"$source"/} ;;
esac

cmake -S "$work/sources" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
      -DCMAKE_BUILD_TYPE="$type" >/dev/null
cmake --build "$work/build" -j "$(nproc)" >/dev/null

status=0
for file in "$@"; do
    name=${file#"$build"/}
    if cmp "$file" "$work/build/$name"; then
        echo "reproducible: $name: same bytes, sha256 $(sha256sum <"$file" | cut -d ' ' -f 1)"
    else
        echo "reproducible: $name differs between $build and a second build in $work/build"
        status=1
    fi
done
exit $status
