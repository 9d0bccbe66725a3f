#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# What school IT checks before it deploys: the same bytes from the same source
# built in another folder, checksums that verify, lintian's verdict on the
# Debian package, and Windows files that carry a signature.
#
#   release_test.sh deb SOURCE_DIR
#       the README's .deb (preset desktop) built twice, from copies of the
#       source in folders of different names: the same bytes, SHA256SUMS
#       verify, and lintian --pedantic reports no error or warning
#   release_test.sh windows SOURCE_DIR EXE WIN32_PROBE
#       the packages of EXE against those of the program built again from a
#       copy of the source elsewhere: the same bytes, SHA256SUMS verify; then
#       signed with a throwaway certificate: osslsigncode verifies the program
#       and the MSI, and the signed program starts under Wine
#   release_test.sh site SOURCE_DIR SITE SINGLE_FILE
#       the site and zirkulon.html against those built again from a copy of
#       the source elsewhere (preset web)
set -euo pipefail
kind=$1
source_dir=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# copy_source NAME: the project's files (as git knows them, where it can) in
# $work/NAME, a folder whose name and length differ from the original's.
copy_source() {
    mkdir -p "$work/$1"
    if git -C "$source_dir" rev-parse --git-dir >/dev/null 2>&1; then
        git -C "$source_dir" ls-files -z | tar -C "$source_dir" --null -T - -cf - | tar -C "$work/$1" -xf -
    else
        tar -C "$source_dir" --exclude='./build*' --exclude=./node_modules -cf - . | tar -C "$work/$1" -xf -
    fi
    echo "$work/$1"
}

# quietly COMMAND...: runs COMMAND, showing what it wrote only if it fails.
quietly() {
    "$@" >"$work/log" 2>&1 || { cat "$work/log" >&2; return 1; }
}

# same FOLDER_A FOLDER_B FILE...: each FILE is the same in both folders.
same() {
    local a=$1 b=$2 file
    shift 2
    for file in "$@"; do
        cmp -s "$a/$file" "$b/$file" || fail "$file differs between $a and $b"
    done
    echo "the same bytes: $*"
}

case $kind in
deb)
    for name in one release-two; do
        copy=$(copy_source "$name")
        (cd "$copy" && quietly cmake --preset desktop && quietly cmake --build build &&
            quietly cmake --build build --target package) || fail "building the .deb in $copy"
    done
    deb=$(cd "$work/one/build" && ls zirkulon_*.deb)
    same "$work/one/build" "$work/release-two/build" "$deb" SHA256SUMS
    (cd "$work/one/build" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS"
    # (lintian notes that it runs as root, as CI does; that is no finding.)
    lintian --pedantic --fail-on error,warning --tag-display-limit 0 "$work/one/build/$deb" 2>&1 |
        grep -v 'running with root privileges' || true
    lintian --pedantic --fail-on error,warning "$work/one/build/$deb" >/dev/null 2>&1 || fail "lintian"
    echo "lintian: no error, no warning"
    ;;
windows)
    exe=$3 probe=$4
    copy=$(copy_source windows-release)
    (cd "$copy" && quietly cmake --preset windows &&
        quietly cmake --build build-windows --target zirkulon) ||
        fail "building the program again"
    unset ZIRKULON_SIGN_PKCS12 ZIRKULON_SIGN_PASSWORD_FILE ZIRKULON_SIGN_TIMESTAMP_URL
    "$source_dir/scripts/windows-package.sh" "$exe" "$work/first" >/dev/null
    "$source_dir/scripts/windows-package.sh" "$copy/build-windows/zirkulon.exe" "$work/again" >/dev/null
    version=$(sed -n 's/^project(Zirkulon VERSION \([0-9.]*\).*/\1/p' "$source_dir/CMakeLists.txt")
    same "$work/first" "$work/again" zirkulon.exe "zirkulon-$version-win64.zip" \
        "zirkulon-$version.msi" SHA256SUMS
    (cd "$work/first" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS"

    # A school's certificate, as a throwaway self-signed one.
    openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj "/CN=Zirkulon Test" \
        -keyout "$work/key.pem" -out "$work/certificate.pem" 2>/dev/null
    echo "nur-zum-testen" >"$work/password"
    openssl pkcs12 -export -inkey "$work/key.pem" -in "$work/certificate.pem" \
        -passout "file:$work/password" -out "$work/school.p12"
    ZIRKULON_SIGN_PKCS12=$work/school.p12 ZIRKULON_SIGN_PASSWORD_FILE=$work/password \
        "$source_dir/scripts/windows-package.sh" "$exe" "$work/signed" >/dev/null
    for file in zirkulon.exe "zirkulon-$version.msi"; do
        osslsigncode verify -CAfile "$work/certificate.pem" -in "$work/signed/$file" \
            >"$work/verify.log" 2>&1 || { cat "$work/verify.log" >&2; fail "$file: no valid signature"; }
        grep -q 'CN=Zirkulon Test' "$work/verify.log" || fail "$file: not signed by the test certificate"
    done
    echo "signed and verified: zirkulon.exe, zirkulon-$version.msi"
    (cd "$work/signed" && sha256sum --quiet -c SHA256SUMS) || fail "SHA256SUMS of the signed files"

    # The signed program still starts.
    # shellcheck source=tests/e2e/x11_lib.sh
    source "$source_dir/tests/e2e/x11_lib.sh"
    export WINEPREFIX=$work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
    trap 'wineserver -k 2>/dev/null || true; x11_cleanup; rm -rf "$work"' EXIT
    start_xvfb
    wine "$work/signed/zirkulon.exe" >/dev/null 2>&1 &
    x11_pids+=("$!")
    wait_until 60 bash -c "wine '$probe' window 2>/dev/null | grep -q 'Eingestellte Genauigkeit: 2°'" ||
        fail "the signed program shows no window"
    echo "the signed program starts under Wine"
    ;;
site)
    site=$3 single=$4
    copy=$(copy_source web-release)
    (cd "$copy" && quietly cmake --preset web && quietly cmake --build --preset web) ||
        fail "building the site again"
    files=$(cd "$site" && find . -type f | sort)
    # shellcheck disable=SC2086 # one name a line, no spaces
    same "$site" "$copy/build-web/web/site" $files
    same "$(dirname "$single")" "$copy/build-web/web" "$(basename "$single")"
    ;;
*)
    echo "usage: $0 deb|windows|site SOURCE_DIR ..." >&2
    exit 2
    ;;
esac
