#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Sets up what is missing, builds Zirkulon with its tests and runs them all,
# in the four configurations of CMakePresets.json.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --tests

# Configures, builds and tests one preset.
run() {
  cmake --preset "$1"
  cmake --build --preset "$1"
  ctest --preset "$1"
}

# The whole suite under GCC.
run tests

# The core suite under WebAssembly in Node, the angle probe against the
# desktop build's, and the page in headless Chromium.
run web-tests

# The core suite under Wine, the angle probe and number texts against the
# desktop build's, the real Windows program in Xvfb, and its zip and MSI.
run windows-tests

# The whole suite again with AddressSanitizer and UndefinedBehaviorSanitizer,
# and the fuzz targets for a bounded time; any report ends the test that made
# it. Built with clang, which brings libFuzzer; GCC 12 under -fsanitize also
# warns falsely (-Wmaybe-uninitialized, inside <regex>), and the warnings stay
# errors. tests/lsan.supp names the only leaks let through, all inside system
# libraries.
run sanitizers
