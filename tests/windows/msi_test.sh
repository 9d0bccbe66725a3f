#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The packages as scripts/windows.sh makes them, from this build: the zip
# holds the exe, the licence and the read-me; the MSI installs silently under
# Wine (the exe in Program Files\Zirkulon, a Start-menu shortcut, an
# uninstall entry with the version) and its silent removal leaves nothing.
#
#   msi_test.sh SOURCE_DIR BUILD_DIR WINEPREFIX
set -euo pipefail
cd "$1"
build=$2
export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# shellcheck source=scripts/windows-env.sh
source scripts/windows-env.sh
pack_windows "$build" "$work/dist"
msi=$(echo "$work"/dist/zirkulon-*-x64.msi)
zip=$(echo "$work"/dist/zirkulon-*-windows-x64.zip)
listing=$(python3 -c 'import sys, zipfile; print(" ".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")
[[ $listing == "COPYING.txt LIESMICH.txt zirkulon.exe" ]] || fail "the zip holds: $listing"

uninstall_entry() {
  wine reg query 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' /s 2>/dev/null |
    tr -d '\r' | grep -a -A20 'DisplayName *REG_SZ *Zirkulon$' || true
}
program_files="$WINEPREFIX/drive_c/Program Files/Zirkulon"

wine msiexec /i "$msi" /qn >"$work/install.log" 2>&1 || fail "install: $(cat "$work/install.log")"
cmp "$program_files/zirkulon.exe" "$work/dist/zirkulon.exe" || fail "no zirkulon.exe in Program Files"
[[ -f "$program_files/COPYING.txt" ]] || fail "no licence in Program Files"
# Wine puts even a per-machine shortcut in the user's Start Menu.
[[ -n $(find "$WINEPREFIX/drive_c" -path '*Start Menu/Programs/Zirkulon.lnk') ]] ||
  fail "no Start-menu shortcut"
uninstall_entry | grep -Eq 'DisplayVersion +REG_SZ +1\.00$' || fail "no uninstall entry with version 1.00"

wine msiexec /x "$msi" /qn >"$work/remove.log" 2>&1 || fail "removal: $(cat "$work/remove.log")"
[[ ! -e $program_files ]] || fail "left behind: $(ls -R "$program_files")"
[[ -z $(find "$WINEPREFIX/drive_c" -iname 'zirkulon*') ]] || fail "files left behind"
[[ -z $(uninstall_entry) ]] || fail "the uninstall entry stayed"
echo "The MSI installs and removes Zirkulon silently"
