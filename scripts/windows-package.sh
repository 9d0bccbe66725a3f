#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The packages for school IT, from a built zirkulon.exe: a portable zip and an
# MSI (made with wixl, from msitools). Source it for package_windows, or run
#
#   scripts/windows-package.sh EXE OUTDIR [VERSION]
#
# which leaves OUTDIR/zirkulon-<version>-win64.zip (the program, LIZENZ.txt,
# LIZENZEN-DRITTER.txt, LIESMICH.txt) and OUTDIR/zirkulon-<version>.msi.

zirkulon_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The project's version, as the top-level CMakeLists.txt sets it.
zirkulon_version() {
  sed -n 's/^project(Zirkulon VERSION \([0-9.]*\).*/\1/p' "$zirkulon_root/CMakeLists.txt"
}

# package_windows EXE OUTDIR [VERSION]: the zip and the MSI in OUTDIR, for
# VERSION (the project's version when not given).
package_windows() (
  set -euo pipefail
  local exe=$1 out=$2 version=${3:-$(zirkulon_version)}
  if [[ ! -f $exe ]]; then
    echo "package_windows: no program file at $exe" >&2
    return 1
  fi
  if [[ ! $version =~ ^[0-9]+\.[0-9]+$ ]]; then
    echo "package_windows: '$version' is no version like 1.00" >&2
    return 1
  fi
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  local stage
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT

  # What is shipped carries no symbols (they are most of the file).
  x86_64-w64-mingw32-strip -o "$stage/zirkulon.exe" "$exe"
  # The texts with Windows line ends; those with umlauts as UTF-8 with a
  # byte order mark, so that every Notepad reads them as such. The notices
  # of the runtime libraries built into the program go with it.
  sed 's/\r*$/\r/' "$zirkulon_root/COPYING" >"$stage/LIZENZ.txt"
  {
    printf '\xef\xbb\xbf'
    sed -e "s/@VERSION@/$version/g" -e 's/\r*$/\r/' \
      "$zirkulon_root/packaging/windows/LIESMICH.txt.in"
  } >"$stage/LIESMICH.txt"
  {
    printf '\xef\xbb\xbf'
    sed 's/\r*$/\r/' "$zirkulon_root/packaging/windows/LIZENZEN-DRITTER.txt"
  } >"$stage/LIZENZEN-DRITTER.txt"

  # zip adds to an archive that is already there: start afresh.
  local zip=$out/zirkulon-$version-win64.zip
  rm -f "$zip"
  (cd "$stage" && zip -q -X "$zip" zirkulon.exe LIZENZ.txt LIZENZEN-DRITTER.txt LIESMICH.txt)

  # wixl finds a File's Source only relative to the folder it runs in.
  (cd "$stage" && wixl --arch x64 --define "Version=$version" \
    --output "$out/zirkulon-$version.msi" "$zirkulon_root/packaging/windows/zirkulon.wxs")
)

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  if (($# < 2 || $# > 3)); then
    echo "usage: $0 EXE OUTDIR [VERSION]" >&2
    exit 2
  fi
  package_windows "$@"
fi
