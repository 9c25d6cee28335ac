#!/usr/bin/env bash
# Builds the program a second time, from a copy of the sources in another folder, and checks that the given files of the
# first build come out byte for byte the same. SOURCE_DATE_EPOCH must hold the time the first build was stamped with.
# Usage: reproducible.sh SOURCE BUILD PRESET FILE...   (each FILE inside BUILD, built through PRESET without the tests)
set -euo pipefail
source=$1 build=$2 preset=$3
shift 3
: "${SOURCE_DATE_EPOCH:?reproducible: SOURCE_DATE_EPOCH is not set}"

work=$(mktemp -d "${TMPDIR:-/tmp}/mirolt-reproducible.XXXXXX")
trap 'rm -rf "$work"' EXIT
mkdir "$work/sources"

# The sources as they are, committed or not: the files git does not ignore (build folders are); those
# deleted and not yet committed are passed over.
git -C "$source" ls-files -z --cached --others --exclude-standard |
    tar -C "$source" --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -xf - -C "$work/sources"
"$work/sources/scripts/build.sh" --preset "$preset" --folder "$work/build" >/dev/null

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
