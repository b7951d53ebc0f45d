#!/usr/bin/env bash
# Builds Devimax and runs the whole test suite.
set -euo pipefail
cd "$(dirname "$0")/.."
if [ -f tests/oracle/package.json ] && command -v npm > /dev/null; then
    (cd tests/oracle && npm ci --no-audit --no-fund --loglevel=error)
fi
cmake --preset default > /dev/null
cmake --build --preset default
ctest --preset default
