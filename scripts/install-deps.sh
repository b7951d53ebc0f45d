#!/usr/bin/env bash
# Installs what building, running and testing Devimax needs on Debian 12.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
packages=(
    cmake ninja-build g++ clang pkg-config
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins
    fonts-liberation2 fonts-comic-neue fonts-dejavu-core
    xvfb xauth x11-utils xdotool imagemagick
    mdbtools libbenchmark-dev
    dpkg-dev fakeroot file appstream desktop-file-utils
    dbus dbus-x11 at-spi2-core python3-pyatspi python3-gi gir1.2-atspi-2.0
)
# Node.js runs the second independent reader of our files in the tests; a machine
# that already has its own Node.js and npm keeps them (Debian's npm conflicts).
command -v npm > /dev/null || packages+=(nodejs npm)
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
    "${packages[@]}" > /dev/null
