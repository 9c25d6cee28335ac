# scripts/wine-mode.sh: sourced by every script that runs Windows programs; decides how this machine runs them and
# says so in one line.
# - 32-bit, the release's own width, where Wine's 32-bit loader really runs here (tried, not guessed);
# - otherwise 64-bit: a 64-bit build of the same sources under Wine's 64-bit loader, for kernels that run no
#   32-bit code ("Exec format error"). MIROLT_WINE64=1 forces this way on any machine.
# Sets mirolt_bits (32 or 64), mirolt_preset (the gcc build that runs here) and mirolt_build (its folder); in
# 64-bit, exports WINELOADER, which the scripts then run programs with, since Debian's wine and wineboot always take
# the 32-bit loader when it is installed. Where Wine cannot run at all, it says so and ends the script.
# MIROLT_WINE32_LOADER and MIROLT_WINE64_LOADER name other loaders (the test of this decision uses a stand-in).
mirolt_wine32=${MIROLT_WINE32_LOADER:-/usr/lib/wine/wine}
mirolt_wine64=${MIROLT_WINE64_LOADER:-/usr/lib/wine/wine64}
mirolt_wine_tried() {   # the loader's own words when it fails to start
    [ -e "$1" ] || { echo "it is not installed"; return 1; }
    local said
    said=$("$1" --version 2>&1 </dev/null) && return 0
    echo "${said##*: }" | tail -n 1
    return 1
}
if [ "${MIROLT_WINE64:-}" = 1 ]; then
    mirolt_bits=64 mirolt_why="forced by MIROLT_WINE64=1"
elif mirolt_why=$(mirolt_wine_tried "$mirolt_wine32"); then
    mirolt_bits=32 mirolt_why="Wine's 32-bit loader runs here"
else
    mirolt_bits=64 mirolt_why="Wine's 32-bit loader cannot run here: $mirolt_why"
fi
if [ "$mirolt_bits" = 64 ] && ! mirolt_said=$(mirolt_wine_tried "$mirolt_wine64"); then
    echo "wine: Windows programs cannot run on this machine: Wine's 64-bit loader ($mirolt_wine64) fails too:" \
         "$mirolt_said (and $mirolt_why)" >&2
    exit 1
fi
if [ "$mirolt_bits" = 64 ]; then
    export WINELOADER=$mirolt_wine64
    mirolt_preset=mingw-gcc-x64 mirolt_build=build-x64
    echo "wine: 64-bit ($mirolt_why): the 64-bit build of the same sources, under $WINELOADER"
else
    unset WINELOADER
    mirolt_preset=mingw-gcc mirolt_build=build
    echo "wine: 32-bit ($mirolt_why)"
fi
