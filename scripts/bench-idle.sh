#!/usr/bin/env bash
# CPU time used by the real program over 10 idle seconds, with the second display
# updating ten times a second, in a virtual X display. Prints milliseconds.
set -euo pipefail
cd "$(dirname "$0")/.."
display=:${BENCH_DISPLAY:-96}
seconds=${IDLE_SECONDS:-10}
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $program $xvfb 2> /dev/null || true' EXIT
sleep 1
(cd build/run && exec env DISPLAY=$display LANG=fr_FR.UTF-8 ../app/devimax) 2> /dev/null &
program=$!
sleep 2 # start-up done, live update running
ticks=$(getconf CLK_TCK)
cpu() { awk '{print $14 + $15}' "/proc/$program/stat"; }
before=$(cpu)
sleep "$seconds"
after=$(cpu)
echo "devimax idle CPU over ${seconds} s: $(( (after - before) * 1000 / ticks )) ms"
