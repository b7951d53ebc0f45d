#!/usr/bin/env bash
# Builds Devimax in Release in build-package/ and makes its Debian package there;
# prints the path of the .deb. Needs dpkg-dev (dpkg-shlibdeps) besides the build tools.
set -euo pipefail
cd "$(dirname "$0")/.."
build="build-package"
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
    -DDEVIMAX_BUILD_TESTS=OFF > /dev/null
cmake --build "$build" -j2 > "$build/build.log" 2>&1 || { cat "$build/build.log" >&2; exit 1; }
rm -f "$build"/devimax_*.deb
(cd "$build" && cpack -G DEB > cpack.log 2>&1) || { cat "$build/cpack.log" >&2; exit 1; }
deb=$(ls "$build"/devimax_*.deb)
echo "$PWD/$deb"
