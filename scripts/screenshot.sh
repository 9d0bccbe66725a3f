#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Makes docs/screenshot.png: the real window, in German, in a private X server
# after the blue leg has been dragged round to an obtuse angle.
#
#   scripts/screenshot.sh [OUTPUT]      BUILD_DIR=... picks the build directory (default build)
#
# Needs the test tools (scripts/setup.sh --tests); builds Zirkulon if needed.
set -euo pipefail
cd "$(dirname "$0")/.."
output=${1:-docs/screenshot.png}
build=build

cmake --preset desktop >/dev/null
cmake --build --preset desktop

# shellcheck source=tests/e2e/x11_lib.sh
source tests/e2e/x11_lib.sh
start_xvfb
german_locale "$build/x11-locale"
start_zirkulon "$build/zirkulon"
window=$(await_window '^Eingestellte Genauigkeit: 2°$')
window_geometry "$window"

# From right of the vertex round to about 130 degrees; the vertex is the
# centre of the 548-pixel inner area below the menu bar.
top=$((WIN_Y + WIN_H - 548))
pointer_drag $((WIN_X + 420)) $((top + 250)) $((WIN_X + 120)) $((top + 90))
sleep 0.5 # the last repaint

mkdir -p "$(dirname "$output")"
screenshot "$x11_work/window.png" "$window"
# Without the time stamps ImageMagick would write into it.
convert "$x11_work/window.png" -strip "$output"
echo "wrote $output"
