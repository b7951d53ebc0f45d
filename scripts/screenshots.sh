#!/usr/bin/env bash
# Takes the README screenshots of the real program in a virtual X display:
# docs/screenshot.png (after typing 100), docs/screenshot-menu.png,
# docs/screenshot-rate-dialog.png and docs/screenshot-about.png.
#   bash scripts/screenshots.sh [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

# Needs the X server, the accessibility bus and pyatspi: scripts/install-deps.sh.

if [ -z "${DEVIMAX:-}" ]; then
    cmake --preset default > /dev/null
    cmake --build --preset default > /dev/null
    export DEVIMAX=$PWD/build/app/devimax
fi
out=${1:-docs}
mkdir -p "$out"
exec timeout 120 tests/e2e/session.sh /usr/bin/python3 tests/e2e/screenshots.py "$out"
