#!/usr/bin/env bash
# Start-up time (exec until the window is mapped), resident memory one second later
# and CPU over 10 idle seconds, for devimax and for a bare Qt window with as many
# widgets (bench/bare_window.cpp), in a virtual X display. Medians of RUNS runs.
# Needs a build configured with -DDEVIMAX_BUILD_BENCH=ON.
set -euo pipefail
cd "$(dirname "$0")/.."
runs=${RUNS:-10}
idle=${IDLE_SECONDS:-10}
display=:${BENCH_DISPLAY:-95}
Xvfb "$display" -screen 0 800x600x24 -nolisten tcp > /dev/null 2>&1 &
xvfb=$!
trap 'kill $xvfb 2> /dev/null || true' EXIT
sleep 1
export DISPLAY=$display

cpu_ns() { cat /proc/"$1"/task/*/schedstat 2> /dev/null | awk '{s += $1} END {print s + 0}'; }
median() { sort -n | awk '{a[NR] = $1} END {print (NR % 2) ? a[(NR + 1) / 2] : (a[NR / 2] + a[NR / 2 + 1]) / 2}'; }

# measure NAME DIR COMMAND...: one line "startup_ms rss_kb idle_cpu_ms" per run
measure() {
    local name=$1 dir=$2
    shift 2
    for _ in $(seq "$runs"); do
        local start end pid
        start=$(date +%s%N)
        (cd "$dir" && exec "$@") 2> /dev/null &
        pid=$!
        until xdotool search --onlyvisible --pid "$pid" > /dev/null 2>&1; do sleep 0.002; done
        end=$(date +%s%N)
        sleep 1
        local rss
        rss=$(awk '/VmRSS/ {print $2}' /proc/$pid/status)
        sleep 1 # the calculator's start-up completion has run
        local before after
        before=$(cpu_ns $pid)
        sleep "$idle"
        after=$(cpu_ns $pid)
        kill $pid
        wait $pid 2> /dev/null || true
        echo "$(((end - start) / 1000000)) $rss $(((after - before) / 1000000))"
    done > "/tmp/bench-$name.txt"
    printf '%-12s start-up %6s ms   memory %7s kB   idle CPU %5s ms / %s s\n' "$name" \
        "$(cut -d' ' -f1 /tmp/bench-$name.txt | median)" \
        "$(cut -d' ' -f2 /tmp/bench-$name.txt | median)" \
        "$(cut -d' ' -f3 /tmp/bench-$name.txt | median)" "$idle"
}

measure devimax build/run ../app/devimax
measure floor build/run ../bench/bench_bare_window
measure floor+tick build/run ../bench/bench_bare_window --tick
