#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the Windows program and packs it for
# schools, all into build-windows/dist/:
#
#   zirkulon.exe                 one static 64-bit program, no DLL beside it
#   zirkulon-VERSION-win64.zip   the program, the licence and a German read-me
#   zirkulon-VERSION.msi         per-machine installer (msiexec /i ... /qn)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows

# shellcheck source=scripts/windows-env.sh
source scripts/windows-env.sh
cmake --preset windows
cmake --build --preset windows
pack_windows build-windows build-windows/dist
ls -l build-windows/dist
