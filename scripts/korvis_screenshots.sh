#!/bin/bash
# Makes the README's three pictures of korvis on a private Xvfb server: the tile map of the
# first overworld after a town is founded, the help, and the first-person scene in a corridor
# of dungeon level 5 after a console teleport.
#   scripts/korvis_screenshots.sh [BUILD_FOLDER] [OUTPUT_FOLDER]
# Needs xdotool (scripts/setup.sh installs it), Xlib and zlib to build the grabber.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "${1:-$here/../build}" && pwd)
out=$(mkdir -p "${2:-$here/../docs}" && cd "${2:-$here/../docs}" && pwd)
work=$(mktemp -d)
grab="$work/grab_png"
g++ -O2 -o "$grab" "$here/grab_png.cpp" -lX11 -lz

display=:$((90 + RANDOM % 100))
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
cleanup() {
    [ -n "${game:-}" ] && kill "$game" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
export DISPLAY=$display
for _ in $(seq 50); do xdotool getmouselocation >/dev/null 2>&1 && break; sleep 0.1; done

# The game in a folder of its own: the build's pictures, a map/ that is thrown away.
for f in "$build"/bmp_*; do ln -s "$f" "$work/"; done
mkdir "$work/map"
(cd "$work" && exec "$build/korvis" --seed 7) &
game=$!
for _ in $(seq 100); do
    id=$(xdotool search --name '^KORVIS$' 2>/dev/null | head -1) && [ -n "$id" ] && break
    sleep 0.1
done
sleep 3
eval "$(xdotool getwindowgeometry --shell "$id")"
xdotool mousemove $((X + 600)) $((Y + 400))
sleep 0.5

tap() { xdotool keydown "$1"; sleep 0.05; xdotool keyup "$1"; sleep 0.05; }
# A town founded ten cells left of the player's capital, which the first view centres: the
# map with the towns' frames, the walker's corners and the answer in the notice line.
xdotool mousemove $((X + 16)) $((Y + 272)) click 1
sleep 2.5  # the turn's own pause
xdotool mousemove $((X + 600)) $((Y + 400))
sleep 0.3
"$grab" "$display" "$X" "$Y" 640 480 1 "$out/korvis_tile_map.png"
tap h
sleep 0.3
"$grab" "$display" "$X" "$Y" 640 480 1 "$out/korvis_help.png"
tap Escape
tap Tab
sleep 0.3
for k in e n v 4 t e l e p o r t space 1 2 5 space 1 0 0 space 5; do tap "$k"; done
tap Return
sleep 0.3
tap Escape
tap F5
sleep 1
"$grab" "$display" "$X" "$Y" 640 480 1 "$out/korvis_scene.png"
tap Escape
wait "$game"
echo "wrote $out/korvis_tile_map.png, $out/korvis_help.png and $out/korvis_scene.png"
