# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Sourced by the scripts that build for Windows with mingw-w64 and run the
# result under Wine.

# pack_windows BUILD_DIR DIST_DIR: from a Windows build, the program, the zip,
# the MSI and SHA256SUMS (scripts/windows-package.sh) into DIST_DIR, after
# checking that the program imports only Windows' own DLLs.
pack_windows() {
  local build=$1 dist=$2 imports dll
  imports=$(x86_64-w64-mingw32-objdump -p "$build/zirkulon.exe" | sed -n 's/^\s*DLL Name: //p')
  for dll in ${imports,,}; do
    case $dll in
    kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | ole32.dll) ;;
    *)
      echo "zirkulon.exe imports $dll, which Windows does not bring" >&2
      return 1
      ;;
    esac
  done
  rm -rf "$dist"
  scripts/windows-package.sh "$build/zirkulon.exe" "$dist"
}
