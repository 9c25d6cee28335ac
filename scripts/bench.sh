#!/usr/bin/env bash
# Measures Mirolt.exe against the leanest plain C program with the same form, under Wine on a virtual
# display: start-up, memory, idle CPU, Send until "Done" (net.exe being a stand-in that exits 0 at once)
# and exe size. Prints medians and ratios against the goals; it checks nothing.
# Usage: scripts/bench.sh [ROUNDS]   (default 10; builds into build-bench/, or MIROLT_BENCH_BUILD)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${MIROLT_BENCH_BUILD:-$root/build-bench}
rounds=${1:-10}
started=$(date +%s)

"$root/scripts/setup.sh" --tests >/dev/null
source "$root/scripts/wine-mode.sh"
wine=${WINELOADER:-wine}
# The program exactly as the default build makes it (or the 64-bit one), in a folder of the benchmark's own.
(cd "$root" && cmake --preset "$mirolt_preset" -B "$build" -DMIROLT_TESTS=OFF -DMIROLT_BENCH=ON >/dev/null)
cmake --build "$build" -j "$(nproc)" --target Mirolt plain_dialog mirolt_bench net_standin >/dev/null

# A prefix of the benchmark's own whose system net.exe (in both system folders) is the stand-in.
export WINEPREFIX=$build/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" "$build/standin/net_standin.exe" --unmanaged
trap 'wineserver -k 2>/dev/null || true' EXIT

windows() { echo "Z:${1//\//\\}"; }
echo "bench: $("$wine" --version) ($mirolt_bits-bit), $(nproc) cores, load $(cut -d' ' -f1-3 /proc/loadavg), $rounds rounds"
# Wine's session ends before the virtual display does, so that its desktop does not complain of a lost display.
xvfb-run -a -s "-screen 0 1024x768x24" sh -c '"$0" "$@"; status=$?; wineserver -k; exit $status' "$wine" \
    "$build/bench/mirolt_bench.exe" "$(windows "$build/bin/Mirolt.exe")" \
    "$(windows "$build/bench/plain_dialog.exe")" "$rounds"
echo "bench: took $(($(date +%s) - started)) s"
