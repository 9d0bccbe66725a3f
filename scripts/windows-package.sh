#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# The packages for school IT, from a built zirkulon.exe: the program, a
# portable zip and an MSI (made with wixl, from msitools), with SHA256SUMS
# beside them. Source it for package_windows, or run
#
#   scripts/windows-package.sh EXE OUTDIR [VERSION]
#
# which leaves in OUTDIR zirkulon.exe (stripped), zirkulon-<version>-win64.zip
# (the program, LIZENZ.txt, LIZENZEN-DRITTER.txt, LIESMICH.txt),
# zirkulon-<version>.msi and SHA256SUMS.
#
# The same program file and sources give the same bytes: every time stamp is
# SOURCE_DATE_EPOCH, or the release date where it is not set, and the MSI's
# codes are derived from the version and the contents.
#
# With ZIRKULON_SIGN_PKCS12 naming a PKCS#12 file (certificate and key) and
# ZIRKULON_SIGN_PASSWORD_FILE a file holding its password, the program (before
# it goes into the zip and the MSI) and the MSI are signed with Authenticode
# (osslsigncode), with a time stamp from ZIRKULON_SIGN_TIMESTAMP_URL where it
# is set (an RFC 3161 server). Without them the packages are unsigned.

zirkulon_root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)

# The project's version and release date, as the top-level CMakeLists.txt sets them.
zirkulon_version() {
  sed -n 's/^project(Zirkulon VERSION \([0-9.]*\).*/\1/p' "$zirkulon_root/CMakeLists.txt"
}
zirkulon_release_date() {
  sed -n 's/^set(ZIRKULON_RELEASE_DATE \([0-9-]*\))/\1/p' "$zirkulon_root/CMakeLists.txt"
}

# A GUID made from the SHA-256 of its arguments, in the MSI's form.
derived_guid() {
  local hash
  hash=$(printf '%s\n' "$@" | sha256sum | tr a-f A-F)
  echo "${hash:0:8}-${hash:8:4}-${hash:12:4}-${hash:16:4}-${hash:20:12}"
}

# Signs FILE in place when a certificate is configured.
sign() {
  [[ -n ${ZIRKULON_SIGN_PKCS12:-} ]] || return 0
  local options=(-pkcs12 "$ZIRKULON_SIGN_PKCS12" -readpass "$ZIRKULON_SIGN_PASSWORD_FILE"
    -h sha256 -n Zirkulon -i https://example.org/zirkulon)
  if [[ -n ${ZIRKULON_SIGN_TIMESTAMP_URL:-} ]]; then
    options+=(-ts "$ZIRKULON_SIGN_TIMESTAMP_URL")
  fi
  rm -f "$1.signed"
  osslsigncode sign "${options[@]}" -in "$1" -out "$1.signed" >/dev/null
  mv "$1.signed" "$1"
}

# wixl writes the package code and the summary's two times afresh on every
# run, with no way to set them. This writes the package code derived from the
# contents and the time stamp in their place, the same length as before; it
# stops if the summary is not as it expects (one code that is none of the
# .wxs file's, followed by its two times).
fix_summary() {
  CODE=$2 KNOWN=$3 EPOCH=$4 perl -0777 -i -pe '
    my $guid = qr/\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\}/;
    my @fresh = grep { index($ENV{KNOWN}, substr($_, 1, 36)) < 0 } /($guid)/g;
    die "fix_summary: not one fresh code in the MSI (@fresh)\n" unless @fresh == 1;
    my $at = index($_, $fresh[0]);
    substr($_, $at, 38) = "{$ENV{CODE}}";
    my $time = pack("Q<", ($ENV{EPOCH} + 11644473600) * 10000000);
    my $times = () = substr($_, $at + 38, 64) =~ /\x40\x00\x00\x00.{8}/gs;
    die "fix_summary: not two times after the package code\n" unless $times == 2;
    substr($_, $at + 38, 64) =~ s/\x40\x00\x00\x00\K.{8}/$time/gs;
  ' "$1"
}

# package_windows EXE OUTDIR [VERSION]: the packages in OUTDIR, for VERSION
# (the project's version when not given).
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
  if [[ -n ${ZIRKULON_SIGN_PKCS12:-} && ! -r ${ZIRKULON_SIGN_PASSWORD_FILE:-} ]]; then
    echo "package_windows: ZIRKULON_SIGN_PASSWORD_FILE names no readable file" >&2
    return 1
  fi
  local epoch=${SOURCE_DATE_EPOCH:-$(date -u -d "$(zirkulon_release_date)" +%s)}
  mkdir -p "$out"
  out=$(cd "$out" && pwd)
  local stage
  stage=$(mktemp -d)
  trap 'rm -rf "$stage"' EXIT

  # What is shipped carries no symbols (they are most of the file).
  SOURCE_DATE_EPOCH=$epoch x86_64-w64-mingw32-strip -o "$stage/zirkulon.exe" "$exe"
  sign "$stage/zirkulon.exe"
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
  touch -d "@$epoch" "$stage"/*

  # zip adds to an archive that is already there: start afresh. Its times
  # are local ones; UTC, like the rest.
  local zip=$out/zirkulon-$version-win64.zip
  rm -f "$zip"
  (cd "$stage" && TZ=UTC zip -q -X "$zip" zirkulon.exe LIZENZ.txt LIZENZEN-DRITTER.txt LIESMICH.txt)

  # wixl finds a File's Source only relative to the folder it runs in.
  local msi=$out/zirkulon-$version.msi wxs=$zirkulon_root/packaging/windows/zirkulon.wxs
  local product package
  product=$(derived_guid "Zirkulon product" "$version")
  package=$(derived_guid "Zirkulon package" "$version" \
    "$(cd "$stage" && sha256sum zirkulon.exe LIZENZ.txt LIZENZEN-DRITTER.txt)" "$(sha256sum <"$wxs")")
  (cd "$stage" && SOURCE_DATE_EPOCH=$epoch wixl --arch x64 --define "Version=$version" \
    --define "ProductCode=$product" --output "$msi" "$wxs")
  fix_summary "$msi" "$package" "$product $(grep -o '[0-9A-F-]\{36\}' "$wxs" | tr '\n' ' ')" "$epoch"
  sign "$msi"

  cp "$stage/zirkulon.exe" "$out/zirkulon.exe"
  touch -d "@$epoch" "$out/zirkulon.exe" "$zip" "$msi"
  (cd "$out" && sha256sum zirkulon.exe "$(basename "$zip")" "$(basename "$msi")" >SHA256SUMS)
  if [[ -z ${ZIRKULON_SIGN_PKCS12:-} ]]; then
    echo "package_windows: unsigned (set ZIRKULON_SIGN_PKCS12 and ZIRKULON_SIGN_PASSWORD_FILE to sign)"
  fi
)

if [[ ${BASH_SOURCE[0]} == "$0" ]]; then
  set -euo pipefail
  if (($# < 2 || $# > 3)); then
    echo "usage: $0 EXE OUTDIR [VERSION]" >&2
    exit 2
  fi
  package_windows "$@"
fi
