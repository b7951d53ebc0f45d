#!/usr/bin/env bash
# End-to-end tests of the real program in a virtual X display, driven through the
# accessibility bus as a screen reader would. Builds first unless DEVIMAX names a
# program already built.
#   bash scripts/e2e.sh [TEST_NAME_PART...]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(xvfb xauth dbus dbus-x11 at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0)
missing=()
for package in "${packages[@]}"; do
    dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
done
if [ ${#missing[@]} -gt 0 ]; then
    if [ "$(id -u)" -ne 0 ]; then
        echo "missing packages: ${missing[*]} (install them as root)" >&2
        exit 1
    fi
    apt-get update -qq > /dev/null
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" > /dev/null
fi

if [ -z "${DEVIMAX:-}" ]; then
    cmake --preset default > /dev/null
    cmake --build --preset default > /dev/null
    export DEVIMAX=$PWD/build/app/devimax
fi
[ -x "$DEVIMAX" ] || { echo "no program at $DEVIMAX" >&2; exit 1; }

# The system Python: it is the one that has the AT-SPI bindings.
exec timeout 170 tests/e2e/session.sh /usr/bin/python3 tests/e2e/test_devimax.py "$@"
