#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing Zirkulon need on Debian 12
# (bookworm), skipping the package manager when everything is already there.
#
#   scripts/setup.sh            the desktop program
#   scripts/setup.sh --web      and the browser build (Debian's emscripten)
#   scripts/setup.sh --nginx    and Debian's nginx, to serve the site as a school would
#   scripts/setup.sh --tests    and everything the whole test suite uses
#   scripts/setup.sh --bench    and the benchmarks' tools: Lighthouse, pinned
#                               in bench/lighthouse/package-lock.json
set -euo pipefail

# shellcheck source=/dev/null
if ! (. /etc/os-release && [[ $ID == debian && $VERSION_ID == 12 ]]); then
  echo "Note: these scripts are made and tried on Debian 12 only; package names may differ here." >&2
fi

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  fonts-comic-neue
  libgtest-dev
)
web=(emscripten node-acorn python3 googletest)
nginx=(nginx-light libnginx-mod-http-brotli-static)
case "${1:-}" in
--web)
  packages+=("${web[@]}")
  ;;
--nginx)
  packages+=("${web[@]}" "${nginx[@]}")
  ;;
--tests | --bench)
  packages+=("${web[@]}" "${nginx[@]}"
             # the real window in X, packaging checks
             xvfb xauth xdotool x11-utils imagemagick desktop-file-utils appstream dpkg-dev
             locales file binutils
             # sanitizers and fuzzing with clang; the arctangent against MPFR
             clang libclang-rt-14-dev libmpfr-dev
             # the page in a real browser
             chromium chromium-driver python3-selenium)
  ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

sudo=""
if [[ $(id -u) -ne 0 ]]; then
  sudo="sudo"
fi
if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# Lighthouse for the browser benchmark, exactly as locked, from npm. A Node
# that is not Debian's brings its own npm, which Debian's npm package would
# conflict with.
if [[ ${1:-} == --bench ]]; then
  if ! command -v npm >/dev/null; then
    $sudo apt-get install -y --no-install-recommends npm
  fi
  (cd "$(dirname "$0")/../bench/lighthouse" && npm ci --no-audit --no-fund)
fi
