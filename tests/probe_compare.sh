#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The set angle and the blue leg's end, bit for bit the same on the desktop as
# in the browser or on Windows: both builds of the angle probe read every
# pointer position of a 1201 x 1201 pixel grid about the vertex (and a few
# other window sizes) and must print byte-for-byte the same lines.
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
}' >"$work/grid"

"$native" <"$work/grid" >"$work/native"
"$@" <"$work/grid" >"$work/other"
lines=$(wc -l <"$work/grid")
[[ $(wc -l <"$work/native") -eq $lines ]] || { echo "FAIL: the desktop probe printed $(wc -l <"$work/native") of $lines lines"; exit 1; }
if ! cmp "$work/native" "$work/other"; then
    paste -d'|' "$work/grid" "$work/native" "$work/other" | awk -F'|' '$2 != $3' | head -n 10
    echo "FAIL: $(basename "${!#}") computes other bits than the desktop build"
    exit 1
fi
echo "$lines pointer positions: the same bits on the desktop and in $(basename "${!#}")"
