#!/usr/bin/env bash
# End-to-end tests of the real program in a virtual X display, driven through the
# accessibility bus as a screen reader would. Builds first unless DEVIMAX names a
# program already built.
#   bash scripts/e2e.sh [TEST_NAME_PART...]
set -euo pipefail
cd "$(dirname "$0")/.."

# Needs the X server, the accessibility bus and pyatspi: scripts/install-deps.sh.

if [ -z "${DEVIMAX:-}" ]; then
    cmake --preset default > /dev/null
    cmake --build --preset default > /dev/null
    export DEVIMAX=$PWD/build/app/devimax
fi
[ -x "$DEVIMAX" ] || { echo "no program at $DEVIMAX" >&2; exit 1; }

# The system Python: it is the one that has the AT-SPI bindings.
exec timeout 170 tests/e2e/session.sh /usr/bin/python3 tests/e2e/test_devimax.py "$@"
