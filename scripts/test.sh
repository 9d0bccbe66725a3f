#!/usr/bin/env bash
# Sets up what is missing, builds Zirkulon with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DZIRKULON_TESTS=ON
cmake --build build-tests
ctest --test-dir build-tests --output-on-failure -j2
