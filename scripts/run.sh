#!/usr/bin/env bash
# Builds Devimax and starts it in build/run, beside the default buro.mdb.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset default > /dev/null
cmake --build --preset default
cd build/run
exec ../app/devimax
