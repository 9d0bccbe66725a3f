#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The real Windows program under Wine in Xvfb, in German, driven with real X
# input (xdotool), its window, labels and boxes read back through Win32 by
# win32_probe: the start, a drag (and that the surface then shows what a
# complete repaint shows), the turning keys, a miss, the tolerance
# entry with a refusal, Escape and a decimal comma, a hit with its joke, and
# "Ende"; then the program file's version record.
#
#   win32_end_to_end.sh ZIRKULON_EXE PROBE_EXE WINEPREFIX LOCALE_CACHE
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=tests/e2e/x11_lib.sh
source "$here/../e2e/x11_lib.sh"
exe=$1
probe_exe=$2
export WINEPREFIX=$3 WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null || true; x11_cleanup' EXIT

start_xvfb
german_locale "$4"
# Every Wine process of the test runs in German: Wine takes the user's locale
# from whichever process of the prefix sets it first.
for setting in "${app_env[@]}"; do
    [[ $setting != LOCPATH=* ]] || export "$setting"
done
export "${app_env[@]}"
# Without a window manager Wine would wait for one whenever a window hides.
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
wine "$exe" >"$x11_work/app.log" 2>&1 &
app_pid=$!
x11_pids+=("$app_pid")

probe() { wine "$probe_exe" "$@" 2>/dev/null; }

# expect WHAT LINE: waits until `win32_probe WHAT` prints LINE; expect_start
# until it prints a line that starts with LINE.
expect() {
    local deadline=$((SECONDS + 20))
    until probe "$1" >"$x11_work/seen" &&
        awk -v line="$2" -v whole="${3:-1}" \
            '$0 == line || (!whole && index($0, line) == 1) { found = 1 } END { exit !found }' \
            "$x11_work/seen"; do
        if ((SECONDS >= deadline)); then
            echo "FAIL: no '$2' in '$1'; last seen:" >&2
            cat "$x11_work/seen" >&2
            exit 1
        fi
        sleep 0.2
    done
}
expect_start() { expect "$1" "$2" 0; }
no_box() {
    wait_until 20 bash -c "! WINEPREFIX='$WINEPREFIX' WINEDEBUG=-all wine '$probe_exe' box >/dev/null 2>&1" ||
        x11_die "a box stayed open: $(probe box)"
}
# Keys by their keysyms, all on the keyboard map as it is: typing text with
# xdotool would change the map, and Wine may lose the next key meanwhile.
keys() { timeout 20 xdotool key --delay 150 "$@"; }
# typed TEXT KEY...: types the KEYs over what the input box holds until its
# edit field shows TEXT (Wine under load now and then loses a synthetic key:
# it is typed again); enter TEXT KEY...: and then Enter.
edit_holds() { probe box | grep -Fxq -- $'Edit\t'"$1"; }
typed() {
    local text=$1 try
    shift
    for try in 1 2 3; do
        keys Home shift+End "$@"
        if wait_until 5 edit_holds "$text"; then
            return
        fi
    done
    x11_die "the input box never showed '$text': $(probe box)"
}
enter() {
    typed "$@"
    keys Return
}
menu() { # menu N: the Nth command (0 "Neu" to 5 "Ende"), chosen with the keyboard
    local moves=()
    for ((i = 0; i < $1; ++i)); do moves+=(Right); done
    keys F10 "${moves[@]}" Return
}
# turn_to D: Home (1 degree), then Page Up and Up to D degrees.
turn_to() {
    local moves=(Home)
    for ((i = 0; i < ($1 - 1) / 10; ++i)); do moves+=(Prior); done
    for ((i = 0; i < ($1 - 1) % 10; ++i)); do moves+=(Up); done
    keys "${moves[@]}"
}

# The start.
expect window $'caption\tEingestellte Genauigkeit: 2°'
expect window $'Static\tVersuche: 0'
expect window $'Static\tErraten: 0 Winkel'
target=$(sed -n 's/^Static\tWinkel = \([0-9]*\)$/\1/p' "$x11_work/seen")
[[ -n $target ]] || x11_die "no target angle in: $(cat "$x11_work/seen")"
read -r x y < <(sed -n 's/^origin\t//p' "$x11_work/seen")

# A drag ending level to the left of the vertex (274, 274) sets 180 degrees.
pointer_drag $((x + 200)) $((y + 150)) $((x + 74)) $((y + 274))
expect window $'ZirkulonSurface\t180 Grad, gestreckter Winkel'
# A press across the circle: the surface repaints only where the legs and the
# arc were and are, and what it shows is what a complete repaint shows.
pointer_drag $((x + 474)) $((y + 200)) $((x + 474)) $((y + 180))
sleep 0.3
surface_shot() {
    screenshot "$x11_work/screen.png"
    convert "$x11_work/screen.png" -crop "548x548+$x+$y" +repage "$x11_work/$1.png"
}
surface_shot shown
probe redraw
sleep 0.3
surface_shot repainted
stale=$(compare -metric AE "$x11_work/shown.png" "$x11_work/repainted.png" null: 2>&1 || true)
[[ $stale == 0 ]] || x11_die "$stale pixels of the surface differ from a complete repaint"

# The keys turn the leg; a miss names the angle and keeps the task.
if ((target <= 180)); then
    miss=$((target + 90)) verdict="zu groß"
else
    miss=$((target - 90)) verdict="zu klein"
fi
turn_to "$miss"
expect_start window $'ZirkulonSurface\t'"$miss Grad, "
menu 2
expect box $'title\tZirkulon'
expect box $'Static\tDer eingestellte Winkel '"$miss° ist $verdict."
# Enter held down: its repeats close no box.
probe held-enter || x11_die "no box to hold Enter on"
sleep 0.5
expect box $'title\tZirkulon'
keys Return
no_box
expect window $'Static\tVersuche: 1'
expect window $'Static\tWinkel = '"$target"

# The tolerance: a 15 typed and cancelled, by Escape or «Abbrechen», is no
# answer (the box comes back as it was); 15 refused, Escape asks again, then
# 2,5 and 1.
menu 1
expect box $'Edit\t2'
typed 15 1 5
keys Escape
expect box $'Edit\t2'
typed 15 1 5
keys Tab Tab space # OK, then «Abbrechen»
expect box $'Edit\t2'
enter 15 1 5
expect box $'Static\tEine Genauigkeit von 15?!? Das ist definitiv zu groß!'
keys Return
expect box $'Edit\t15'
keys Escape
expect box $'Edit\t15'
enter 2,5 2 comma 5
no_box
expect window $'caption\tEingestellte Genauigkeit: 2,5°'
menu 1
expect box $'Edit\t2,5'
enter 1 1
no_box
expect window $'caption\tEingestellte Genauigkeit: 1°'

# A hit, and with a tolerance of 1 every hit earns a joke.
if ((target > 0)); then
    turn_to "$target"
    menu 2
    # The keys set the angle to the nearest single, seldom to the exact degree.
    expect_start box $'Static\tHerzlichen Glückwunsch! Der eingestellte Winkel '
    grep -Fxq -e $'Static\tHerzlichen Glückwunsch! Der eingestellte Winkel exakt den gesuchten Wert '"$target°" \
        -e $'Static\tHerzlichen Glückwunsch! Der eingestellte Winkel hat den Wert '"$target° und stimmt im Rahmen der Genauigkeit von 1° mit dem gesuchten Winkel $target überein." \
        "$x11_work/seen" || x11_die "not the congratulation for $target: $(cat "$x11_work/seen")"
    keys Return
    expect box $'title\tWinkel Witze'
    keys Return
    no_box
    expect window $'Static\tErraten: 1 Winkel.'
    expect window $'Static\tVersuche: 0'
else
    echo "note: the target is 0, which the keys cannot set; no hit this run"
fi

# "Ende" closes the window and ends the program.
menu 5
wait_until 15 bash -c "! kill -0 $app_pid 2>/dev/null" || x11_die "Zirkulon did not end"

# The version record, as Explorer shows it.
probe version "$exe" >"$x11_work/version"
for line in $'Translation\t040704b0' $'FileVersion\t1.00' $'ProductVersion\t1.00' \
    $'ProductName\tZirkulon' $'InternalName\tZirkulon'; do
    grep -Fxq -- "$line" "$x11_work/version" ||
        x11_die "version record lacks '$line': $(cat "$x11_work/version")"
done
echo "The Windows program under Wine: start, drag, keys, check, tolerance, hit and joke, end"
