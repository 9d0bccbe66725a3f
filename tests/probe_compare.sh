#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The set angle and the blue leg's end, bit for bit the same on the desktop as
# in the browser or on Windows: both builds of the angle probe read every
# pointer position of a 1201 x 1201 pixel grid about the vertex (and a few
# other window sizes), and many numbers to write and texts to read, and must
# print byte-for-byte the same lines.
#
#   probe_compare.sh NATIVE_PROBE COMMAND...    e.g. node angle_probe.js,
#                                               or wine angle_probe.exe
set -euo pipefail

native=$1
shift
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# Pixels -600 .. 600 about the vertex pixel (274, 274) of the designed 548 x
# 548 inner area, in twips; then the same directions in odd and tiny windows.
awk 'BEGIN {
    for (dy = -600; dy <= 600; ++dy)
        for (dx = -600; dx <= 600; ++dx)
            printf "%d %d\n", (274 + dx) * 15, (274 + dy) * 15
    for (dy = -40; dy <= 40; ++dy)
        for (dx = -40; dx <= 40; ++dx) {
            printf "%d %d 8221 6001\n", 4110 + dx * 15, 3000 + dy * 15
            printf "%.1f %.1f 7.5 15\n", 3.75 + dx * 0.5, 7.5 + dy * 0.5
        }
    # Number texts: doubles from random bits (any size), doubles from about
    # 2^-31 to 2^32 of either sign, and texts as a player types them.
    srand(1)
    for (i = 0; i < 20000; ++i) {
        printf "n%04x%04x%04x%04x\n", r(65536), r(65536), r(65536), r(65536)
        printf "n%04x%04x%04x%04x\n", 16368 + r(64) * 16 + r(16) + 32768 * r(2), r(65536), r(65536), r(65536)
    }
    for (i = 0; i < 5000; ++i) {
        printf "t%d,%d\n", r(1000000), r(1000000000)
        printf "t-%d.%03d,%de%d\n", r(1000), r(1000), r(100000), r(700) - 350
        printf "t %d,%d \n", r(11), r(100)
    }
}
function r(n) { return int(rand() * n) }' >"$work/grid"

"$native" <"$work/grid" >"$work/native"
"$@" <"$work/grid" >"$work/other"
lines=$(wc -l <"$work/grid")
[[ $(wc -l <"$work/native") -eq $lines ]] || { echo "FAIL: the desktop probe printed $(wc -l <"$work/native") of $lines lines"; exit 1; }
if ! cmp "$work/native" "$work/other"; then
    paste -d'|' "$work/grid" "$work/native" "$work/other" | awk -F'|' '$2 != $3' | head -n 10
    echo "FAIL: $(basename "${!#}") computes other bits than the desktop build"
    exit 1
fi
echo "$lines pointer positions and numbers: the same bits and texts on the desktop and in $(basename "${!#}")"
