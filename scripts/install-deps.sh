#!/usr/bin/env bash
# Installs what building, running and testing Devimax needs on Debian 12.
set -euo pipefail
if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive
$SUDO apt-get update -qq
$SUDO apt-get install -y -qq --no-install-recommends -o DPkg::Lock::Timeout=600 \
    cmake ninja-build g++ clang pkg-config \
    qt6-base-dev qt6-base-dev-tools libgl-dev qt6-qpa-plugins \
    fonts-liberation2 fonts-comic-neue fonts-dejavu-core \
    xvfb xauth x11-utils imagemagick \
    mdbtools nodejs npm libbenchmark-dev \
    dpkg-dev fakeroot file appstream desktop-file-utils \
    > /dev/null
