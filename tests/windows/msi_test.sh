#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The MSI as school IT uses it, under Wine in a prefix of its own:
#
#   tests/windows/msi_test.sh MSI WINEPREFIX [PACKAGE_PROBE_EXE]
#
# A silent install puts the program into Program Files\Zirkulon and a plain
# (not advertised) shortcut into a Start Menu, and registers the uninstall
# entry with the project's version; the installed program carries its
# version record; a silent uninstall leaves nothing. Then the same program is
# packaged as the next version: installing that replaces the first, installing
# the first over it is refused, and removing it leaves nothing either.
#
# WINEPREFIX is made afresh (an existing one is deleted; any other existing
# folder is refused). package_probe.cpp beside this script reads the version
# record and the shortcut table through Windows' own interfaces; it is built
# here with mingw-w64 unless a built one is given.
set -euo pipefail

if (($# < 2 || $# > 3)); then
  echo "usage: $0 MSI WINEPREFIX [PACKAGE_PROBE_EXE]" >&2
  exit 2
fi
msi=$(realpath "$1")
here=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
# shellcheck source-path=SCRIPTDIR/../.. source=scripts/windows-package.sh
. "$here/../../scripts/windows-package.sh"
version=$(zirkulon_version)

prefix=$(realpath -m "$2")
if [[ -e $prefix && ! -f $prefix/system.reg && -n $(ls -A "$prefix") ]]; then
  echo "$prefix is there and no Wine prefix; not deleting it" >&2
  exit 2
fi
rm -rf "$prefix"
mkdir -p "$prefix"
# No host menu entries from the shortcuts (winemenubuilder would write them
# into the home folder), and no offer to install Mono or Gecko.
export WINEPREFIX=$prefix WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe,mscoree,mshtml=d"

tmp=$(mktemp -d)
trap 'wineserver -k 2>/dev/null || true; rm -rf "$tmp"' EXIT

failures=0
passes=0
check() { # check WHAT COMMAND...: runs COMMAND, counts and reports it
  local what=$1
  shift
  if "$@"; then
    passes=$((passes + 1))
    echo "ok: $what"
  else
    failures=$((failures + 1))
    echo "FAILED: $what"
  fi
}

# Z:\ is the machine's / in every Wine prefix.
windows_path() {
  local path
  path=$(realpath "$1")
  printf 'Z:%s' "${path//\//\\}"
}

# msiexec ARGS...: runs it silently with a verbose log and waits until Wine
# has written everything, so that files and registry can be read.
msiexec() {
  local status=0
  timeout 300 wine msiexec "$@" /qn /l*v "$(windows_path "$tmp")\\msiexec.log" || status=$?
  wineserver -w
  return "$status"
}
installs() { msiexec "$@" || { show_log; return 1; }; }
refused() { ! msiexec "$@"; }
show_log() {
  echo "--- end of the installer's log:"
  iconv -f UTF-16LE -t UTF-8 "$tmp/msiexec.log" 2>/dev/null | tr -d '\r' | tail -n 30 || true
}

# One line per uninstall entry named Zirkulon, in either registry view:
# "DisplayVersion<TAB>Publisher".
uninstall_entries() {
  local key
  for key in 'HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall' \
    'HKLM\Software\WOW6432Node\Microsoft\Windows\CurrentVersion\Uninstall'; do
    wine reg query "$key" /s 2>/dev/null | tr -d '\r' | awk -F '    ' '
      function entry() { if (name == "Zirkulon") print version "\t" publisher; name = version = publisher = "" }
      /^HKEY_/ { entry() }
      $2 == "DisplayName" { name = $4 }
      $2 == "DisplayVersion" { version = $4 }
      $2 == "Publisher" { publisher = $4 }
      END { entry() }'
  done
}

drive_c=$prefix/drive_c
installed=$drive_c/Program\ Files/Zirkulon/zirkulon.exe
shortcuts() { find "$drive_c" -ipath '*/start menu/*' -iname 'zirkulon.lnk'; }

# The program, its shortcut and its uninstall entry at VERSION, once each.
installed_at() {
  local at=$1 ok=true links
  [[ -f $installed ]] || { echo "no $installed"; ok=false; }
  grep -qF winpthreads "${installed%/*}/LIZENZEN-DRITTER.txt" 2>/dev/null ||
    { echo "no notices of the runtime libraries beside the program"; ok=false; }
  if [[ -n $(find "$drive_c/Program Files (x86)" -iname '*zirkulon*' 2>/dev/null) ]]; then
    echo "installed into Program Files (x86)"
    ok=false
  fi
  links=$(shortcuts)
  if [[ $(grep -c . <<<"$links") -ne 1 ]]; then
    echo "shortcuts: ${links:-none}"
    ok=false
  elif ! grep -aqF 'C:\Program Files\Zirkulon\zirkulon.exe' "$links"; then
    echo "the shortcut $links does not point at the program"
    ok=false
  fi
  local entries
  entries=$(uninstall_entries)
  if [[ $entries != "$at"$'\t'"das Zirkulon-Team" ]]; then
    echo "uninstall entries (version, publisher): ${entries:-none}"
    ok=false
  fi
  $ok
}

# No file, shortcut, cached package or registry value of Zirkulon anywhere.
nothing_left() {
  local ok=true traces
  traces=$(find "$drive_c" -iname '*zirkulon*')
  [[ -z $traces ]] || { echo "left behind: $traces"; ok=false; }
  traces=$(grep -rli zirkulon "$drive_c/windows/Installer" "$prefix"/*.reg 2>/dev/null || true)
  [[ -z $traces ]] || { echo "Zirkulon still named in: $traces"; ok=false; }
  $ok
}

echo "Making the Wine prefix (the first start takes a while)"
wine wineboot -i >"$tmp/wineboot.log" 2>&1 || { cat "$tmp/wineboot.log"; exit 1; }
wineserver -w

probe=${3:-}
if [[ -z $probe ]]; then
  probe=$tmp/package_probe.exe
  x86_64-w64-mingw32-g++-posix -std=c++20 -municode -static -Os -o "$probe" \
    "$here/package_probe.cpp" -lmsi -lversion
fi

# wixl makes a shortcut that sits under a File an advertised one, whose
# target is a feature; Wine installs that as a plain link, Windows does not.
check "the package's shortcuts point at the program, none is advertised" \
  test "$(wine "$probe" shortcuts "$(windows_path "$msi")" | tr -d '\r')" = '[INSTALLDIR]zirkulon.exe'

check "msiexec /i $(basename "$msi") /qn succeeds" installs /i "$(windows_path "$msi")"
check "installed: program in Program Files\\Zirkulon, Start-menu shortcut, uninstall entry $version" \
  installed_at "$version"

# The version record, as Windows reads it from the installed program.
record=$(wine "$probe" version "$(windows_path "$installed")" | tr -d '\r' || true)
echo "$record"
major=${version%%.*} minor=${version#*.}
numbers="$major.$((10#$minor))"
check "version record: German (Germany) first" grep -q '^translation 0407 ' <<<"$record"
check "resources filed as German (Germany): version record and manifest" \
  test "$(grep '^resource ' <<<"$record")" = $'resource 16 0407\nresource 24 0407'
check "version record: file and product version $version" \
  test "$(grep -E '^(FileVersion|ProductVersion)=' <<<"$record")" \
  = "FileVersion=$version"$'\n'"ProductVersion=$version"
check "version record: numeric versions $numbers" grep -qE "^fixed $numbers\.[0-9]+\.[0-9]+ $numbers\." <<<"$record"
check "version record: product and internal name Zirkulon" \
  test "$(grep -E '^(ProductName|InternalName)=' <<<"$record")" \
  = $'ProductName=Zirkulon\nInternalName=Zirkulon'
cp "$installed" "$tmp/zirkulon.exe" 2>/dev/null || true

check "msiexec /x $(basename "$msi") /qn succeeds" installs /x "$(windows_path "$msi")"
check "uninstalled: nothing left" nothing_left

# The next version, from the same sources and program.
newer=$major.$(printf "%0${#minor}d" $((10#$minor + 1)))
if [[ -f $tmp/zirkulon.exe ]] && package_windows "$tmp/zirkulon.exe" "$tmp/newer" "$newer"; then
  newer_msi=$tmp/newer/zirkulon-$newer.msi
  check "install $version again" installs /i "$(windows_path "$msi")"
  check "install $newer over it" installs /i "$(windows_path "$newer_msi")"
  check "$newer replaced $version: one uninstall entry" installed_at "$newer"
  check "installing $version over $newer is refused" refused /i "$(windows_path "$msi")"
  check "$newer stays installed" installed_at "$newer"
  check "msiexec /x of $newer succeeds" installs /x "$(windows_path "$newer_msi")"
  check "uninstalled $newer: nothing left" nothing_left
else
  failures=$((failures + 1))
  echo "FAILED: could not package the installed program as $newer"
fi

echo "$passes passed, $failures failed"
((failures == 0))
