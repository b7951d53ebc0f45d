#!/usr/bin/env bash
# Takes the README screenshots of the real program in a virtual X display:
# docs/screenshot.png (after typing 100), docs/screenshot-menu.png,
# docs/screenshot-rate-dialog.png and docs/screenshot-about.png.
#   bash scripts/screenshots.sh [OUTPUT_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(xvfb xauth dbus dbus-x11 at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
          imagemagick)
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
out=${1:-docs}
mkdir -p "$out"
exec timeout 120 tests/e2e/session.sh /usr/bin/python3 tests/e2e/screenshots.py "$out"
