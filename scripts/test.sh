#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds Zirkulon with its tests and runs them all.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

# The whole suite under GCC.
cmake -S . -B build-tests -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON
cmake --build build-tests
ctest --test-dir build-tests --output-on-failure -j2

# The core suite under WebAssembly in Node, the angle probe against the
# desktop build's, and the page in headless Chromium.
# shellcheck source=scripts/web-env.sh
source scripts/web-env.sh
build_site build-web-tests -DBUILD_TESTING=ON \
  -DZIRKULON_DESKTOP_PROBE="$PWD/build-tests/tools/angle_probe"
ctest --test-dir build-web-tests --output-on-failure -j2

# The core suite under Wine, the angle probe and number texts against the
# desktop build's, the real Windows program in Xvfb, and its zip and MSI.
# shellcheck source=scripts/windows-env.sh
source scripts/windows-env.sh
build_windows build-windows-tests -DBUILD_TESTING=ON \
  -DZIRKULON_DESKTOP_PROBE="$PWD/build-tests/tools/angle_probe"
ctest --test-dir build-windows-tests --output-on-failure -j2

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets for a bounded time; any report ends the test that made
# it. Built with clang, which brings libFuzzer; GCC 12 under -fsanitize also
# warns falsely (-Wmaybe-uninitialized, inside <regex>), and the warnings stay
# errors. tests/lsan.supp names the only leaks let through, all inside system
# libraries.
cmake -S . -B build-tests-asan -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=ON \
  -DZIRKULON_SANITIZE=ON -DZIRKULON_FUZZ=ON -DCMAKE_CXX_COMPILER=clang++
cmake --build build-tests-asan
ASAN_OPTIONS=halt_on_error=1:abort_on_error=1:detect_leaks=1:check_initialization_order=1:strict_init_order=1 \
UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
LSAN_OPTIONS="suppressions=$PWD/tests/lsan.supp:print_suppressions=0" \
  ctest --test-dir build-tests-asan --output-on-failure -j2
