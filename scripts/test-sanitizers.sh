#!/usr/bin/env bash
# Builds and runs the whole test suite under AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail
cd "$(dirname "$0")/.."
cmake --preset sanitizers > /dev/null
cmake --build --preset sanitizers
ctest --preset sanitizers
