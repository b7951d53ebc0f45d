#!/usr/bin/env bash
# Builds Devimax and starts it in build/run, beside the default buro.mdb.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j2
cd build/run
exec ../app/devimax
