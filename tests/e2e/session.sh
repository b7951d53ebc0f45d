#!/usr/bin/env bash
# Runs a command inside a private desktop session: a virtual X display, a session
# bus and the accessibility bus, so that the real program can be started and read
# through AT-SPI as a screen reader would. The command's exit status is returned.
#   tests/e2e/session.sh COMMAND [ARGS...]
set -euo pipefail
# A timeout or Ctrl-C still runs the EXIT traps below, which stop what was started.
trap 'exit 143' TERM INT

if [ -z "${DEVIMAX_E2E_INNER:-}" ]; then
    # Outer part: the X display. Xvfb picks a free display number and writes it on fd 3.
    fifo_dir=$(mktemp -d)
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3> "$fifo_dir/display" \
        > "$fifo_dir/xvfb.log" 2>&1 &
    xvfb=$!
    trap 'kill "$xvfb" 2> /dev/null || true; wait "$xvfb" 2> /dev/null || true; rm -rf "$fifo_dir"' EXIT
    for _ in $(seq 100); do
        [ -s "$fifo_dir/display" ] && break
        kill -0 "$xvfb" 2> /dev/null || { cat "$fifo_dir/xvfb.log" >&2; exit 1; }
        sleep 0.05
    done
    [ -s "$fifo_dir/display" ] || { echo "Xvfb did not start" >&2; exit 1; }
    export DISPLAY=":$(head -n1 "$fifo_dir/display")"
    status=0
    DEVIMAX_E2E_INNER=1 dbus-run-session -- "$0" "$@" || status=$?
    exit "$status"
fi

# Inner part, on the new session bus: the accessibility bus and its registry.
/usr/libexec/at-spi-bus-launcher --launch-immediately > /dev/null 2>&1 &
launcher=$!
trap 'kill "$launcher" 2> /dev/null || true' EXIT
for _ in $(seq 100); do
    if dbus-send --session --print-reply --dest=org.freedesktop.DBus /org/freedesktop/DBus \
        org.freedesktop.DBus.NameHasOwner string:org.a11y.Bus 2> /dev/null | grep -q true; then
        break
    fi
    sleep 0.05
done
export QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 QT_ACCESSIBILITY=1
"$@"
