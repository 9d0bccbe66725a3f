#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Checks what Zirkulon ships besides the program.
#
#   package_test.sh CHECK SOURCE_DIR BUILD_DIR VERSION, where CHECK is one of
#     metadata   desktop entry and AppStream metadata validate cleanly
#     install    `cmake --install` lays out a tree desktops understand
#     deb        the Debian package's control fields and contents
set -euo pipefail

app_id=org.example.zirkulon
source_dir=${2:-}
build_dir=${3:-}
version=${4:-}
scratch=$(mktemp -d)
trap 'rm -rf "$scratch"' EXIT

fail() {
    echo "FAIL: $*" >&2
    exit 1
}

# Runs a validator and fails on anything it reports, pedantic hints included.
must_be_clean() {
    local output
    if ! output=$("$@" 2>&1); then
        echo "$output" >&2
        fail "$* failed"
    fi
    if grep -Eq '^(.*: (error|warning|hint):|[[:space:]]*[EWIP]: )' <<<"$output"; then
        echo "$output" >&2
        fail "$* reported issues"
    fi
}

check_metadata() {
    local desktop=$source_dir/packaging/$app_id.desktop metainfo=$build_dir/$app_id.metainfo.xml
    must_be_clean desktop-file-validate "$desktop"
    must_be_clean appstreamcli validate --no-net --pedantic --strict "$metainfo"

    # What the validators accept but a desktop would still get wrong.
    grep -qx 'Name=Zirkulon' "$desktop" || fail "desktop entry: Name"
    grep -qx 'Exec=zirkulon' "$desktop" || fail "desktop entry: Exec"
    grep -qx 'Categories=Education;Math;' "$desktop" || fail "desktop entry: Categories"
    grep -Eqx 'Icon=[a-z-]+' "$desktop" || fail "desktop entry: Icon must name a themed icon"
    grep -q "<id>$app_id</id>" "$metainfo" || fail "metainfo: id"
    grep -q "<launchable type=\"desktop-id\">$app_id.desktop</launchable>" "$metainfo" ||
        fail "metainfo: launchable"
    grep -q "<release version=\"$version\"" "$metainfo" || fail "metainfo: release $version"
    grep -q "<project_license>GPL-3.0-or-later</project_license>" "$metainfo" || fail "metainfo: licence"
    echo "metadata ok"
}

check_install() {
    local build=$build_dir root=$scratch/root
    DESTDIR=$root cmake --install "$build" --prefix /usr >/dev/null
    local path
    for path in usr/bin/zirkulon usr/share/applications/$app_id.desktop \
        usr/share/metainfo/$app_id.metainfo.xml; do
        [[ -f $root/$path ]] || fail "not installed: /$path"
    done
    [[ -x $root/usr/bin/zirkulon ]] || fail "/usr/bin/zirkulon is not executable"
    # The tree as a whole: metainfo and desktop entry find each other.
    must_be_clean appstreamcli validate-tree --no-net --pedantic --strict "$root"
    echo "install ok"
}

check_deb() {
    local build=$build_dir out=$scratch
    cpack -G DEB --config "$build/CPackConfig.cmake" -B "$out" >"$out/cpack.log" 2>&1 ||
        { cat "$out/cpack.log" >&2; fail "cpack failed"; }
    local debs=("$out"/zirkulon_"$version"_*.deb)
    [[ -f ${debs[0]} ]] || fail "no zirkulon_${version}_*.deb built"
    local deb=${debs[0]}

    [[ $(dpkg-deb -f "$deb" Package) == zirkulon ]] || fail "Package"
    [[ $(dpkg-deb -f "$deb" Version) == "$version" ]] || fail "Version"
    [[ $(dpkg-deb -f "$deb" Maintainer) == "Zirkulon-Team <zirkulon@example.org>" ]] ||
        fail "Maintainer"
    # Depends as a list of bare package names, without versions or alternatives.
    local depends
    depends=$(dpkg-deb -f "$deb" Depends | tr ',|' '\n' | sed -E 's/\(.*\)//; s/[[:space:]]//g')
    local package
    for package in libqt6widgets6 libqt6gui6 libqt6core6 qt6-qpa-plugins fonts-comic-neue libc6; do
        grep -qx "$package" <<<"$depends" || fail "Depends lacks $package: $(dpkg-deb -f "$deb" Depends)"
    done
    grep -qw qt6-translations-l10n <<<"$(dpkg-deb -f "$deb" Recommends)" || fail "Recommends"

    # Exactly these files, nothing from the build or test tree.
    local files expected
    files=$(dpkg-deb -c "$deb" | awk '$1 !~ /^d/ {print $NF}' | sort)
    expected=$(printf '%s\n' ./usr/bin/zirkulon ./usr/share/applications/$app_id.desktop \
        ./usr/share/metainfo/$app_id.metainfo.xml ./usr/share/doc/zirkulon/copyright \
        ./usr/share/doc/zirkulon/changelog.gz ./usr/share/man/man6/zirkulon.6.gz | sort)
    [[ $files == "$expected" ]] || fail "package files:"$'\n'"$files"

    # The packaged program is stripped of the build's debug information.
    dpkg-deb -x "$deb" "$out/root"
    readelf -h "$out/root/usr/bin/zirkulon" >/dev/null || fail "/usr/bin/zirkulon is no ELF program"
    if readelf -S "$out/root/usr/bin/zirkulon" | grep -q '\.debug_info'; then
        fail "/usr/bin/zirkulon is not stripped"
    fi
    echo "deb ok: $(basename "$deb")"
}

case "${1:-}" in
metadata) check_metadata ;;
install) check_install ;;
deb) check_deb ;;
*)
    echo "usage: $0 metadata|install|deb SOURCE_DIR BUILD_DIR VERSION" >&2
    exit 2
    ;;
esac
