#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the Windows program and packs it for
# schools, all into build-windows/dist/:
#
#   zirkulon.exe                 one static 64-bit program, no DLL beside it
#   zirkulon-VERSION-win64.zip   the program, the licence and a German read-me
#   zirkulon-VERSION.msi         per-machine installer (msiexec /i ... /qn)
#   SHA256SUMS                   their checksums
#
# Signed with Authenticode where ZIRKULON_SIGN_PKCS12 and
# ZIRKULON_SIGN_PASSWORD_FILE are set (see scripts/windows-package.sh).
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows

# shellcheck source=scripts/windows-env.sh
source scripts/windows-env.sh
cmake --preset windows
cmake --build --preset windows
pack_windows build-windows build-windows/dist
ls -l build-windows/dist
