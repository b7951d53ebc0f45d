#!/usr/bin/env bash
# Takes docs/screenshot.png: the real program in a virtual X display, cropped to its
# window, enlarged twice so that the small calculator can be read.
set -euo pipefail
cd "$(dirname "$0")/.."
out=${1:-docs/screenshot.png}
display=:${SCREENSHOT_DISPLAY:-97}
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $program $xvfb 2> /dev/null || true' EXIT
sleep 1
(cd build/run && exec env DISPLAY=$display LANG=fr_FR.UTF-8 ../app/devimax) &
program=$!
sleep 2
# The window is centred on the 800 x 600 screen; its client area is 124 x 193.
DISPLAY=$display import -window root -crop 124x193+338+203 +repage /tmp/devimax-shot.png
convert /tmp/devimax-shot.png -scale 200% "$out"
echo "wrote $out"
