# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the scripts that build for Windows with mingw-w64 and run the
# result under Wine.

# build_windows DIR [CMAKE ARGS...]: configures and builds for 64-bit Windows in DIR.
build_windows() {
  local dir=$1
  shift
  cmake -S . -B "$dir" -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake \
    -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir"
}
