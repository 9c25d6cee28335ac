#!/usr/bin/env bash
# Makes the README's screenshots (docs/*.png) of the real Mirolt.exe under Wine on a virtual display.
# Usage: scripts/screenshots.sh
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build
work=$(mktemp -d)

"$root/scripts/setup.sh" --screenshots
"$root/scripts/build.sh"

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 >/dev/null 2>&1 &
xvfb=$!
export DISPLAY=$display WINEPREFIX=$work/prefix WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
trap 'wineserver -k 2>/dev/null || true; kill $xvfb 2>/dev/null || true; rm -rf "$work"' EXIT

"$root/scripts/wine-prefix.sh" "$WINEPREFIX" "$build/wine/net.exe" --unmanaged
# A grey desktop behind the windows, as on a plain Windows screen.
xsetroot -solid '#3a6ea5' 2>/dev/null || true

wine "$build/bin/Mirolt.exe" >/dev/null 2>&1 &

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

# Prints "x y width height" of a window, frame included (Wine draws the frame itself here).
geometry() {
    eval "$(xdotool getwindowgeometry --shell "$1")"
    echo "$X $Y $WIDTH $HEIGHT"
}

# Saves the screen area that holds the given windows, with a margin of desktop around them.
shoot() {
    local name=$1 left=10000 top=10000 right=0 bottom=0
    shift
    sleep 0.7
    for window in "$@"; do
        read -r x y w h < <(geometry "$window")
        left=$((x < left ? x : left)); top=$((y < top ? y : top))
        right=$((x + w > right ? x + w : right)); bottom=$((y + h > bottom ? y + h : bottom))
    done
    left=$((left - 12)); top=$((top - 12))
    import -window root -crop "$((right - left + 12))x$((bottom - top + 12))+$left+$top" +repage "$root/docs/$name"
    echo "screenshots: docs/$name"
}

form=$(wait_for_window Mirolt)
xdotool windowmove --sync "$form" 40 40
xdotool windowfocus --sync "$form"
sleep 0.5
xdotool type --delay 40 'PC12'
xdotool key Tab
xdotool type --delay 40 'Lunch is ready in the kitchen.'
shoot form.png "$form"

xdotool key alt+space
menu=$(xdotool search --onlyvisible --class '' 2>/dev/null | head -n 0; wait_for_window '')
shoot system-menu.png "$form"
xdotool key Escape

xdotool key alt+space Up Return
about=$(wait_for_window 'About Mirolt')
shoot about.png "$form" "$about"
xdotool key Escape
