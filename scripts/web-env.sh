# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the scripts that build for the browser. emcc runs JavaScript
# tools that need Debian's node modules (acorn); a Node that is not Debian's
# own finds them only through NODE_PATH.
export NODE_PATH=/usr/share/nodejs${NODE_PATH:+:$NODE_PATH}

# build_site DIR [CMAKE ARGS...]: configures and builds the site with emscripten in DIR.
build_site() {
  local dir=$1
  shift
  emcmake cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=Release "$@"
  cmake --build "$dir"
}
