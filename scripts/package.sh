#!/usr/bin/env bash
# Makes the release: dist/Mirolt-VERSION-win32.zip, holding Mirolt.exe, the netsend.exe built with it
# and a read-me for Windows users, and dist/SHA256SUMS beside it. Two runs on one commit give the same
# bytes.
# Usage: scripts/package.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
dist=$root/dist

# The version is the one in the exe's version record.
version=$(sed -n 's/^FILEVERSION *\([0-9]*\), *\([0-9]*\), *\([0-9]*\), *\([0-9]*\).*/\1.\2.\3.\4/p' \
    "$root/resources/Mirolt.rc")
if [ -z "$version" ]; then
    echo "package: resources/Mirolt.rc has no FILEVERSION" >&2
    exit 1
fi
archive=Mirolt-$version-win32.zip
if [ -n "$(git -C "$root" status --porcelain 2>/dev/null)" ]; then
    echo "package: the working tree has uncommitted changes, so this archive is not the commit's" >&2
fi

"$root/scripts/setup.sh" --package >/dev/null
"$root/scripts/build.sh" >/dev/null
bin=$root/build/bin

# The files get the time the exe is stamped with, fixed permissions and Windows line ends; zip gets
# them in a fixed order, without extra fields (owners, Unix times), with its times in UTC.
epoch=${SOURCE_DATE_EPOCH:-$(git -C "$root" log -1 --format=%ct)}
stage=$(mktemp -d)
trap 'rm -rf "$stage"' EXIT
files=(Mirolt.exe netsend.exe README.txt)
cp "$bin/Mirolt.exe" "$bin/netsend.exe" "$stage/"
sed -e "s/@ARCHIVE@/$archive/" -e 's/\r*$/\r/' "$root/packaging/README.txt" >"$stage/README.txt"
(cd "$stage" && chmod 644 "${files[@]}" && touch -d "@$epoch" "${files[@]}")

mkdir -p "$dist"
rm -f "$dist/$archive" "$dist/SHA256SUMS"
(cd "$stage" && TZ=UTC zip -q -X -9 "$dist/$archive" "${files[@]}")
(cd "$dist" && sha256sum "$archive" >SHA256SUMS)
echo "package: $dist/$archive ($(stat -c %s "$dist/$archive") bytes)"
echo "package: $dist/SHA256SUMS: $(cat "$dist/SHA256SUMS")"
