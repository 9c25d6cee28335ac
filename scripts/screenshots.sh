#!/usr/bin/env bash
# Makes the README's screenshots (docs/*.png) of the real Mirolt.exe under Wine on a virtual display.
# Usage: scripts/screenshots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
work=$(mktemp -d)

"$root/scripts/setup.sh" --tests
"$root/scripts/setup.sh" --screenshots
source "$root/scripts/wine-mode.sh"
build=$root/$mirolt_build
"$root/scripts/build.sh" --tests --preset "$mirolt_preset"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

# net.exe is the tests' stand-in, failing with the words of a name that is not on the network.
"$root/scripts/wine-prefix.sh" "$WINEPREFIX" "$build/tests/net_standin.exe" --unmanaged
# Its plan (tests/standin/net_standin.c) lies beside the log that MIROLT_NET_LOG names: exit code, delay, repeats and
# the length of what it writes, then the words.
export MIROLT_NET_LOG="Z:${work//\//\\}\\net.log"
words=$'An error occurred while sending a message to PC12.\r\n\r\nThe message alias could not be found on the network.\r\n\r\n'
words+=$'More help is available by typing NET HELPMSG 2273.\r\n\r\n'
printf '2 0 1 %d\n%s' "${#words}" "$words" >"$work/net.log.plan"
"${WINELOADER:-wine}" "$build/bin/Mirolt.exe" >/dev/null 2>&1 &

# Polls for a window with this exact title; prints its X id.
wait_for_window() {
    for _ in $(seq 100); do
        if id=$(xdotool search --name "^$1\$" 2>/dev/null | head -n 1) && [ -n "$id" ]; then
            echo "$id"
            return
        fi
        sleep 0.1
    done
    echo "screenshots: no window \"$1\" appeared" >&2
    exit 1
}

# Saves the screen area that holds every window on the screen (menus too), with a margin of desktop.
shoot() {
    local left=10000 top=10000 right=0 bottom=0 X Y WIDTH HEIGHT
    sleep 0.7
    for window in $(xdotool search --onlyvisible --name ''); do
        eval "$(xdotool getwindowgeometry --shell "$window")"
        [ "$WIDTH" -ge 800 ] && continue   # the root window
        left=$((X < left ? X : left)); top=$((Y < top ? Y : top))
        right=$((X + WIDTH > right ? X + WIDTH : right)); bottom=$((Y + HEIGHT > bottom ? Y + HEIGHT : bottom))
    done
    left=$((left > 16 ? left - 16 : 0)); top=$((top > 16 ? top - 16 : 0)); right=$((right + 16)); bottom=$((bottom + 16))
    import -window root -crop "$((right - left))x$((bottom - top))+$left+$top" +repage "$root/docs/$1"
    echo "screenshots: docs/$1"
}

form=$(wait_for_window Mirolt)
# A blue desktop behind the windows, as on a plain Windows screen; set once Wine's desktop is up.
xsetroot -solid '#3a6ea5'
xdotool windowfocus --sync "$form"
sleep 0.5
xdotool type --delay 40 'PC12'
xdotool key Tab
xdotool type --delay 40 'Lunch is ready in the kitchen.'
shoot form.png

xdotool key alt+space
shoot system-menu.png
xdotool key Escape

xdotool key alt+space Up Return
wait_for_window 'About Mirolt' >/dev/null
shoot about.png
xdotool key Escape

xdotool key alt+s
wait_for_window Error >/dev/null
shoot error.png
xdotool key Return
