#!/usr/bin/env bash
# Installs what building, running and testing Zirkulon need on Debian or
# Ubuntu, skipping the package manager when everything is already there.
set -euo pipefail

packages=(
  g++ cmake ninja-build pkg-config
  qt6-base-dev qt6-translations-l10n libgl-dev
  fonts-comic-neue
  libgtest-dev
)
# Extra tools for the test suite only.
if [[ "${1:-}" == "--tests" ]]; then
  packages+=(xvfb xauth xdotool x11-utils imagemagick desktop-file-utils appstream dpkg-dev
             clang libclang-rt-14-dev
             locales file binutils
             libmpfr-dev)
fi

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
