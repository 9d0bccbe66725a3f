#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds the Windows program and packs it for
# schools, all into build-windows/dist/:
#
#   zirkulon.exe                      one static 64-bit program, no DLL beside it
#   zirkulon-VERSION-windows-x64.zip  the program, the licence and a German read-me
#   zirkulon-VERSION-x64.msi          per-machine installer (msiexec /i ... /qn)
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh --windows

# shellcheck source=scripts/windows-env.sh
source scripts/windows-env.sh
build_windows build-windows -DBUILD_TESTING=OFF

version=$(sed -n 's/^#define ZIRKULON_VERSION_TEXT "\(.*\)"$/\1/p' build-windows/generated/Version.h)
dist=build-windows/dist
rm -rf "$dist"
mkdir -p "$dist/zip"

x86_64-w64-mingw32-strip -o "$dist/zirkulon.exe" build-windows/zirkulon.exe
# Only Windows' own DLLs may be imported.
imports=$(x86_64-w64-mingw32-objdump -p "$dist/zirkulon.exe" | sed -n 's/^\s*DLL Name: //p' | tr 'A-Z' 'a-z')
for dll in $imports; do
  case $dll in
  kernel32.dll | user32.dll | gdi32.dll | msvcrt.dll | advapi32.dll | comctl32.dll | ole32.dll | oleacc.dll) ;;
  *) echo "zirkulon.exe imports $dll, which is not part of Windows" >&2; exit 1 ;;
  esac
done

# Texts for Notepad: line ends of CR LF.
sed 's/$/\r/' COPYING >"$dist/zip/COPYING.txt"
sed 's/$/\r/' packaging/windows/LIESMICH.txt >"$dist/zip/LIESMICH.txt"
cp "$dist/zirkulon.exe" "$dist/zip/"
(cd "$dist/zip" && zip -q -X "../zirkulon-$version-windows-x64.zip" zirkulon.exe COPYING.txt LIESMICH.txt)

# wixl reads the files from the folder it runs in.
cp build-windows/zirkulon.wxs "$dist/zip/"
(cd "$dist/zip" && wixl -a x64 -o "../zirkulon-$version-x64.msi" zirkulon.wxs)
rm -rf "$dist/zip"

ls -l "$dist"
