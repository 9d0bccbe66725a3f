#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Zirkulon in a real X server (Xvfb, no window manager), in German, driven by
# real pointer and keyboard input; what it draws is read back from screenshots.
#
#   x11_end_to_end.sh PROGRAM PROBE LOCALE_CACHE_DIR
#
# On a failed picture check the screenshot is kept as x11_failure_*.png in the
# working directory.
set -euo pipefail

program=$1
probe=$2
locale_cache=$3
# shellcheck source=tests/e2e/x11_lib.sh
source "$(dirname "$0")/x11_lib.sh"

side=548 # the inner area

start_xvfb
german_locale "$locale_cache"
start_zirkulon "$program"

main=$(await_window '^Eingestellte Genauigkeit: 2°$')
window_geometry "$main"
echo "window $main at $WIN_X,$WIN_Y, $WIN_W x $WIN_H"
((WIN_W == side)) || x11_die "window width $WIN_W, not $side"
((WIN_H > side && WIN_H < side + 60)) || x11_die "window height $WIN_H: no menu bar above $side"
canvas_left=$WIN_X
canvas_top=$((WIN_Y + WIN_H - side))
bar_height=$((WIN_H - side))

# Desktops match the window to its desktop entry by the window's class.
wm_class=$(timeout 5 xprop -id "$main" WM_CLASS)
entry=$(dirname "$0")/../../packaging/org.example.zirkulon.desktop
wanted=$(sed -n 's/^StartupWMClass=//p' "$entry")
[[ -n $wanted && $wm_class == *"\"$wanted\""* ]] ||
    x11_die "window class $wm_class does not match StartupWMClass=$wanted"

# Screen coordinates of a point given in inner-area pixels.
screen_x() { echo $((canvas_left + $1)); }
screen_y() { echo $((canvas_top + $1)); }

# expect_legs NAME POINTER-X POINTER-Y arc|no-arc: screenshots until the probe
# accepts the picture (the window may still be repainting) or time runs out.
expect_legs() {
    local shot=$x11_work/$1.png deadline=$((SECONDS + 10))
    until screenshot "$shot" &&
        "$probe" legs "$shot" "$canvas_left" "$canvas_top" "$2" "$3" "$4" >"$x11_work/probe.log" 2>&1; do
        if ((SECONDS >= deadline)); then
            cat "$x11_work/probe.log" >&2
            cp "$shot" "x11_failure_$1.png" 2>/dev/null || true
            x11_die "$1: picture check failed"
        fi
        sleep 0.2
    done
    echo "$1: $(cat "$x11_work/probe.log")"
}

# At start the blue leg stands straight up and there is no arc.
expect_legs start 274 0 no-arc

# The canvas holds the keyboard focus from the start: real keys, before any
# click, turn the blue leg. Home to 1 degree, then thirteen times Page Up,
# 10 degrees each, to 131 degrees (towards 208,198).
# shellcheck disable=SC2046 # thirteen separate key names
timeout 10 xdotool key --delay 30 Home $(printf 'Prior %.0s' {1..13})
expect_legs keys 208 198 arc

# A press alone turns the blue leg towards the pointer, here below right of the
# vertex, and the arc runs counter-clockwise all the way round to it.
pointer_click "$(screen_x 334)" "$(screen_y 414)"
expect_legs press 334 414 arc

# A drag from right of the vertex to above left of it: the leg follows to where
# the button is released, and the earlier arc is gone.
pointer_drag "$(screen_x 424)" "$(screen_y 234)" "$(screen_x 134)" "$(screen_y 174)"
expect_legs drag 134 174 arc

# Moving without a button leaves everything as it is.
timeout 5 xdotool mousemove --sync "$(screen_x 300)" "$(screen_y 500)"
sleep 0.3
expect_legs hover 134 174 arc

# A resize lays the legs out about the new centre and leaves the arc where it
# stood; the next press clears that arc, and the window must repaint its area,
# not only where the new arc and legs go. Widened to 900, the vertex moves to
# 450,274, well right of the old arc (about 274,274, radius 74, up to the
# upper left), so nothing new is drawn over where it stood.
old_arc_darkest() {
    screenshot "$x11_work/resized.png"
    convert "$x11_work/resized.png" -crop "160x85+$((canvas_left + 195))+$((canvas_top + 195))" \
        +repage -colorspace Gray -format '%[fx:int(255*minima)]' info:
}
old_arc_shown() { (($(old_arc_darkest) < 100)); }
old_arc_gone() { (($(old_arc_darkest) > 200)); }
timeout 5 xdotool windowsize --sync "$main" 900 "$WIN_H"
wait_until 10 old_arc_shown || x11_die "after the resize the old arc is not where it stood"
pointer_click "$(screen_x 550)" "$(screen_y 174)"
if ! wait_until 10 old_arc_gone; then
    cp "$x11_work/resized.png" x11_failure_cleared_arc.png
    x11_die "a press after the resize left the old arc on the screen"
fi
echo "resize, press: the old arc is gone"

# «prüfen» by keys alone, Enter held: Alt hands the menu bar to the keyboard,
# Right twice goes on to «prüfen», and the first press of Enter opens the
# check's box. Its repeats while held must not close it.
check_box_shown() { visible_window '^Zirkulon$' >/dev/null; }
check_box_gone() { ! check_box_shown; }
timeout 5 xdotool key --delay 100 alt Right Right
timeout 5 xdotool keydown Return
sleep 1.5
timeout 5 xdotool keyup Return
wait_until 5 check_box_shown || x11_die "a held Enter on «prüfen» left no box open"
sleep 0.5
check_box_shown || x11_die "the check's box closed without a second press of Enter"
timeout 5 xdotool key Return
wait_until 5 check_box_gone || x11_die "Enter did not close the check's box"
echo "held Enter on «prüfen»: one box, closed by the next press"

# The menu bar's captions, left to right, found in a screenshot of it.
screenshot "$x11_work/menu.png"
mapfile -t captions < <("$probe" menu "$x11_work/menu.png" "$WIN_X" "$WIN_Y" "$WIN_W" "$bar_height")
((${#captions[@]} == 6)) || x11_die "menu bar shows ${#captions[@]} captions, not 6: ${captions[*]}"
menu_y=$((WIN_Y + bar_height / 2))
read -r exact_x exact_width <<<"${captions[1]}"
read -r end_x _ <<<"${captions[5]}"
for caption in "${captions[@]}"; do
    read -r _ width <<<"$caption"
    ((width <= exact_width)) || x11_die "'Genauigkeit' is not the widest caption: ${captions[*]}"
done

# button_row WINDOW FILE: the box's row of buttons (its bottom 30 pixels).
button_row() {
    sleep 0.5 # the box's first paint
    screenshot "$x11_work/box.png" "$1"
    convert "$x11_work/box.png" -gravity south -crop 0x30+0+0 +repage "$2"
}

# Qt and the C library run in German: the accuracy box takes a decimal comma.
title_is() { [[ $(timeout 5 xdotool getwindowname "$main") == "$1" ]]; }
pointer_click "$exact_x" "$menu_y"
box=$(await_window '^Zirkulon$' 10)
button_row "$box" "$x11_work/buttons_de.png"
timeout 5 xdotool windowfocus --sync "$box"
timeout 5 xdotool key --clearmodifiers ctrl+a
timeout 5 xdotool type --delay 20 '1,5'
timeout 5 xdotool key Return
wait_until 10 title_is 'Eingestellte Genauigkeit: 1,5°' ||
    x11_die "caption after entering 1,5: '$(xdotool getwindowname "$main")'"
echo "accuracy 1,5 accepted: $(xdotool getwindowname "$main")"

# "Ende" closes the window and the program ends normally.
pointer_click "$end_x" "$menu_y"
app_gone() { ! x11_running "$app_pid"; }
wait_until 10 app_gone || x11_die "Zirkulon did not end after 'Ende'"
status=0
wait "$app_pid" || status=$?
((status == 0)) || x11_die "Zirkulon ended with status $status"

# The program had nothing to complain about: no failed handler, no locale trouble.
if grep -Eiq 'Zirkulon:|locale|warning|error' "$x11_work/app.log"; then
    cat "$x11_work/app.log" >&2
    x11_die "Zirkulon wrote warnings"
fi

# The same box in English, where Qt needs no translation of its own. The
# German box's buttons must differ from these («Abbrechen», not «Cancel»), or
# the program did not load Qt's German translations at start-up.
app_env=(LANG=C.UTF-8 LC_ALL=C.UTF-8)
start_zirkulon "$program"
main=$(await_window '^Eingestellte Genauigkeit: 2°$')
pointer_click "$exact_x" "$menu_y"
box=$(await_window '^Zirkulon$' 10)
button_row "$box" "$x11_work/buttons_en.png"
differing=$(compare -metric AE "$x11_work/buttons_de.png" "$x11_work/buttons_en.png" null: 2>&1) || true
if [[ $differing == 0 ]]; then
    cp "$x11_work/buttons_de.png" x11_failure_buttons.png
    x11_die "the input box's buttons read the same in German as in English: no Qt translation"
fi
echo "German box buttons differ from the English ones ($differing pixels)"
echo "end-to-end ok"
