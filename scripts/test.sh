#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test (unit, resources, end-to-end)
# under Wine on a virtual display, with a second build that must give the same bytes and a clang build
# whose unit tests must pass. Where 32-bit programs cannot run (scripts/wine-mode.sh), the Wine tests drive the
# 64-bit build, and the 32-bit release is built and checked without running it. The last line is CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)

"$root/scripts/setup.sh" --tests
source "$root/scripts/wine-mode.sh"
build=$root/$mirolt_build
"$root/scripts/build.sh" --tests --preset "$mirolt_preset"
echo "test: the Wine tests drive $build/bin/Mirolt.exe ($mirolt_bits-bit)"

log=$build/ctest.log
status=0
# Inside a network namespace of their own with only the loopback device, no test can reach another
# machine: no DNS query, no NetBIOS broadcast leaves this one.
( cd "$root" && unshare --net sh -c 'ip link set lo up &&
    exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --preset "$0"' "$mirolt_preset" ) 2>&1 | tee "$log" ||
    status=$?
summary=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
echo "${summary:-ctest printed no summary}"
exit $status
