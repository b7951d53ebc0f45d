#!/usr/bin/env bash
# Builds Devimax and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -f tests/oracle/package.json ] && command -v npm > /dev/null; then
    (cd tests/oracle && npm ci --no-audit --no-fund --loglevel=error)
fi
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo > /dev/null
cmake --build build -j2
ctest --test-dir build --output-on-failure -j2
