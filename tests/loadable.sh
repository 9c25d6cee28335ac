#!/usr/bin/env bash
# Checks that each program is at most its number of bytes; and, before "--", that it would load on NT 4.0: a PE
# subsystem version of at most 4.0 (a loader refuses newer), and only imports on the list of functions that NT 4.0
# exports; and that it holds exactly its six resources, all in English (United States), and no other, such as a
# manifest. After "--", the size alone: netsend.exe is for newer systems, and holds no resources.
# Usage: loadable.sh LIST BYTES EXE... [-- BYTES EXE...]
set -euo pipefail
list=$1 whole=1 status=0
shift
allowed=$(awk '{ sub(/#.*/, "") } /^\[/ { dll = toupper(substr($1, 2, length($1) - 2)); next }
               { for (i = 1; i <= NF; i++) print dll "!" $i }' "$list")
while [ $# -gt 0 ]; do
    [ "$1" != -- ] || { whole=0; shift; continue; }
    limit=$1 exe=$2 size=$(stat -c %s "$2")
    shift 2
    [ "$size" -le "$limit" ] || { echo "loadable: $exe is $size bytes, over its ceiling of $limit"; status=1; }
    [ $whole = 1 ] || { echo "loadable: $exe: $size bytes"; continue; }
    dump=$(i686-w64-mingw32-objdump -p "$exe")
    read -r major minor < <(awk '/MajorSubsystemVersion/ { a = $2 } /MinorSubsystemVersion/ { b = $2 }
                                 END { print a + 0, b + 0 }' <<<"$dump")
    [ "$major" -lt 4 ] || { [ "$major" -eq 4 ] && [ "$minor" -eq 0 ]; } ||
        { echo "loadable: $exe asks for subsystem version $major.$minor; NT 4.0 loads 4.0 at most"; status=1; }
    imports=$(awk '/DLL Name:/ { dll = toupper($3) } /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll "!" $3 }' <<<"$dump")
    [ -n "$imports" ] || { echo "loadable: no imports found in $exe"; status=1; }
    for import in $imports; do
        grep -qxF "$import" <<<"$allowed" ||
            { echo "loadable: $exe imports $import, which is not on the list of NT 4.0's functions ($list)"; status=1; }
    done
    # type/name/language in hex: icon image, About box, form, strings, icon group, version.
    resources=$(awk '/^The .rsrc Resource Directory/ { rsrc = 1 }
                     rsrc && / Entry: / { level = (index($0, "Entry") - 7) / 2; id[level] = $4
                                          gsub(/^0x0*|,/, "", id[level]) }
                     rsrc && / Entry: / && level == 2 { print id[0] "/" id[1] "/" id[2] }' <<<"$dump" | xargs)
    [ "$resources" = "3/1/409 5/64/409 5/66/409 6/7/409 e/80/409 10/1/409" ] ||
        { echo "loadable: $exe holds the resources $resources"; status=1; }
    echo "loadable: $exe: $size bytes, subsystem version $major.$minor, $(wc -w <<<"$imports") imports"
done
exit $status
