#!/usr/bin/env bash
# Installs what is missing, builds the test configuration (AddressSanitizer and
# UndefinedBehaviorSanitizer, warnings as errors) and runs every test suite.
set -euo pipefail
root="$(cd "$(dirname "$0")/.." && pwd)"
"$root/scripts/install-deps.sh"

build="$root/build/test"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DORVANTA_SANITIZE=ON -DORVANTA_WERROR=ON \
  -DORVANTA_BUILD_BENCH=OFF
cmake --build "$build" --parallel 2
cd "$build"
ctest --output-on-failure --parallel 2 --timeout 600
