#!/usr/bin/env bash
# Checks that each program would load on NT 4.0: a PE subsystem version of at most 4.0 (a loader refuses
# newer), and only imports on the list of functions that NT 4.0 exports; that it is at most 32 KB; and that it
# holds exactly its six resources, all in English (United States), and no other, such as a manifest.
# Usage: loadable.sh LIST EXE...
set -euo pipefail
list=$1
shift
allowed=$(awk '{ sub(/#.*/, "") } /^\[/ { dll = toupper(substr($1, 2, length($1) - 2)); next }
               { for (i = 1; i <= NF; i++) print dll "!" $i }' "$list")
status=0
for exe in "$@"; do
    dump=$(i686-w64-mingw32-objdump -p "$exe")
    size=$(stat -c %s "$exe")
    [ "$size" -le 32768 ] || { echo "loadable: $exe is $size bytes, over 32 KB"; status=1; }
    read -r major minor < <(awk '/MajorSubsystemVersion/ { a = $2 } /MinorSubsystemVersion/ { b = $2 }
                                 END { print a + 0, b + 0 }' <<<"$dump")
    if [ "$major" -gt 4 ] || { [ "$major" -eq 4 ] && [ "$minor" -gt 0 ]; }; then
        echo "loadable: $exe asks for subsystem version $major.$minor; NT 4.0 loads 4.0 at most"
        status=1
    fi
    imports=$(awk '/DLL Name:/ { dll = toupper($3) } /^\t[0-9a-f]+\t +[0-9]+ +[A-Za-z_]/ { print dll "!" $3 }' <<<"$dump")
    if [ -z "$imports" ]; then
        echo "loadable: no imports found in $exe"
        status=1
    fi
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
