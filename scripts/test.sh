#!/usr/bin/env bash
# Sets up what is missing, builds everything and runs every test (unit, resources, end-to-end)
# under Wine on a virtual display. The last line is CTest's summary.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build

"$root/scripts/setup.sh"
"$root/scripts/build.sh" --tests

log=$build/ctest.log
status=0
# Inside a network namespace of their own with only the loopback device, no test can reach another
# machine: no DNS query, no NetBIOS broadcast leaves this one.
( cd "$build" && unshare --net sh -c 'ip link set lo up &&
    exec xvfb-run -a -s "-screen 0 1024x768x24" ctest --output-on-failure --timeout 240' ) 2>&1 | tee "$log" ||
    status=$?
summary=$(grep -E '^[0-9]+% tests passed' "$log" | tail -n 1)
echo "${summary:-ctest printed no summary}"
exit $status
