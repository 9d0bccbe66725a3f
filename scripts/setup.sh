#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building, running and testing Zirkulon need on Debian 12
# (bookworm), skipping the package manager when everything is already there.
#
#   scripts/setup.sh            the desktop program
#   scripts/setup.sh --web      and the browser build (Debian's emscripten)
#   scripts/setup.sh --windows  and the Windows build (mingw-w64, Wine, wixl)
#   scripts/setup.sh --nginx    and Debian's nginx, to serve the site as a school would
#   scripts/setup.sh --tests    and everything the whole test suite uses,
#                               with the test tools from npm (package-lock.json)
#   scripts/setup.sh --bench    and the benchmarks' tools: Lighthouse, locked
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
# Cross-compiler, Wine to run the result, the MSI builder, the zip, the signer
windows=(g++-mingw-w64-x86-64-posix googletest wine wine64 wixl zip osslsigncode)
case "${1:-}" in
--web)
  packages+=("${web[@]}")
  ;;
--windows)
  packages+=("${windows[@]}")
  ;;
--nginx)
  packages+=("${web[@]}" "${nginx[@]}")
  ;;
--tests | --bench)
  packages+=("${web[@]}" "${nginx[@]}" "${windows[@]}"
             # the real window in X, packaging checks
             xvfb xauth xdotool x11-utils imagemagick desktop-file-utils appstream dpkg-dev
             # the drawing surface as assistive technology reads it (AT-SPI)
             at-spi2-core dbus-daemon libglib2.0-bin
             locales file binutils
             # what school IT checks: lintian, and a certificate to sign with
             lintian openssl git
             # sanitizers and fuzzing with clang; the arctangent against MPFR
             clang libclang-rt-14-dev libmpfr-dev
             # the page in real browsers: Chromium, Firefox (over WebDriver
             # BiDi) and WebKit (MiniBrowser through its WebDriver)
             chromium chromium-driver python3-selenium
             firefox-esr python3-websocket webkit2gtk-driver)
  # axe-core for the page test comes from npm; a Node from elsewhere brings its own npm
  if ! command -v npm >/dev/null; then
    packages+=(npm)
  fi
  ;;
esac

missing=()
for package in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
    missing+=("$package")
  fi
done

if ((${#missing[@]})); then
  echo "Installing: ${missing[*]}"
  sudo=""
  if [[ $(id -u) -ne 0 ]]; then
    sudo="sudo"
  fi
  export DEBIAN_FRONTEND=noninteractive
  $sudo apt-get update -qq
  $sudo apt-get install -y --no-install-recommends "${missing[@]}"
fi

# The test tools from npm, exactly as locked, once for each change of the
# lock; for the benchmarks also Lighthouse, locked in bench/lighthouse/.
if [[ ${1:-} == --tests || ${1:-} == --bench ]]; then
  cd "$(dirname "$0")/.."
  locks=(.)
  if [[ ${1:-} == --bench ]]; then
    locks+=(bench/lighthouse)
  fi
  for dir in "${locks[@]}"; do
    if ! cmp -s "$dir/package-lock.json" "$dir/node_modules/.installed-lock" 2>/dev/null; then
      (cd "$dir" && npm ci --ignore-scripts --no-audit --no-fund &&
        cp package-lock.json node_modules/.installed-lock)
    fi
  done
fi
