# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# Helpers for running Zirkulon in a private X server and driving it with real
# X input; sourced by tests/e2e/x11_end_to_end.sh, tests/e2e/x11_accessibility.sh
# and scripts/screenshot.sh.
# Every wait has a time-out, and every process started here is ended by its
# PID when the sourcing script exits.

x11_work=$(mktemp -d)
x11_pids=()
app_pid=
app_env=()

x11_die() {
    echo "FAIL: $*" >&2
    exit 1
}

# Whether the process runs (a child that has exited but not yet been waited
# for still has its /proc entry, in state Z).
x11_running() {
    [[ -r /proc/$1/stat ]] && ! grep -q '^[0-9]* ([^)]*) Z' "/proc/$1/stat" 2>/dev/null
}

x11_cleanup() {
    local pid tries
    for pid in "${x11_pids[@]}"; do
        kill "$pid" 2>/dev/null || true
        for ((tries = 0; tries < 30; ++tries)); do
            x11_running "$pid" || break
            sleep 0.1
        done
        kill -KILL "$pid" 2>/dev/null || true
        wait "$pid" 2>/dev/null || true
    done
    rm -rf "$x11_work"
}
trap x11_cleanup EXIT

# wait_until SECONDS COMMAND [ARGS...]: runs COMMAND every tenth of a second
# until it succeeds; fails once SECONDS have passed.
wait_until() {
    local deadline=$((SECONDS + $1))
    shift
    until "$@"; do
        ((SECONDS < deadline)) || return 1
        sleep 0.1
    done
}

x11_require_tools() {
    local tool
    for tool in Xvfb xdotool xdpyinfo import localedef; do
        command -v "$tool" >/dev/null || x11_die "$tool is missing; run scripts/setup.sh --tests"
    done
}

# Starts Xvfb on the first free display and points DISPLAY at it.
start_xvfb() {
    x11_require_tools
    # -noreset: without it the server resets whenever its last client leaves,
    # and a client connecting meanwhile is turned away.
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp -noreset 3>"$x11_work/display" \
        2>"$x11_work/xvfb.log" &
    x11_pids+=("$!")
    wait_until 15 test -s "$x11_work/display" ||
        x11_die "Xvfb did not start: $(cat "$x11_work/xvfb.log")"
    DISPLAY=:$(head -n1 "$x11_work/display")
    export DISPLAY
    wait_until 10 xdpyinfo >/dev/null 2>&1 || x11_die "cannot reach Xvfb on $DISPLAY"
}

# Sets app_env to run the program in German (de_DE.UTF-8). When the system has
# not generated that locale, it is compiled once into CACHE_DIR and found there
# through LOCPATH, so that the C library runs in it just as on a German desktop.
german_locale() {
    local cache=$1
    app_env=(LANG=de_DE.UTF-8 LC_ALL=de_DE.UTF-8)
    if locale -a 2>/dev/null | grep -qix 'de_DE\.utf-\{0,1\}8'; then
        return
    fi
    if [[ ! -f $cache/de_DE.UTF-8/LC_CTYPE ]]; then
        mkdir -p "$cache"
        local fresh
        fresh=$(mktemp -d "$cache/new.XXXXXX")
        localedef -i de_DE -f UTF-8 "$fresh/de_DE.UTF-8" >"$x11_work/localedef.log" 2>&1 || true
        [[ -f $fresh/de_DE.UTF-8/LC_CTYPE ]] ||
            x11_die "cannot compile de_DE.UTF-8: $(cat "$x11_work/localedef.log")"
        # Another run may have finished first; either copy is good.
        mv -T "$fresh/de_DE.UTF-8" "$cache/de_DE.UTF-8" 2>/dev/null || true
        rm -rf "$fresh"
    fi
    app_env+=(LOCPATH="$cache")
}

# start_zirkulon PROGRAM: starts it on the private display with app_env; its
# output goes to $x11_work/app.log.
start_zirkulon() {
    mkdir -p -m 700 "$x11_work/runtime"
    env -u QT_SCALE_FACTOR -u QT_SCREEN_SCALE_FACTORS -u QT_AUTO_SCREEN_SCALE_FACTOR \
        -u QT_ENABLE_HIGHDPI_SCALING -u QT_STYLE_OVERRIDE -u QT_QPA_PLATFORMTHEME -u LANGUAGE \
        "${app_env[@]}" QT_QPA_PLATFORM=xcb XDG_RUNTIME_DIR="$x11_work/runtime" \
        "$1" >"$x11_work/app.log" 2>&1 &
    app_pid=$!
    x11_pids+=("$app_pid")
}

# Prints the id of the first visible window whose name matches the regular
# expression; fails if there is none.
visible_window() {
    local id
    id=$(timeout 5 xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1) || true
    [[ -n $id ]] && echo "$id"
}

# await_window REGEX [SECONDS]: prints the window's id once it is shown.
await_window() {
    local id='' deadline=$((SECONDS + ${2:-20}))
    until id=$(visible_window "$1"); do
        x11_running "$app_pid" || x11_die "Zirkulon ended early: $(cat "$x11_work/app.log")"
        ((SECONDS < deadline)) || x11_die "no window named '$1'"
        sleep 0.1
    done
    echo "$id"
}

# Sets WIN_X, WIN_Y, WIN_W, WIN_H to the window's geometry on the screen.
# shellcheck disable=SC2034 # set for the sourcing script
window_geometry() {
    local WINDOW X Y WIDTH HEIGHT SCREEN
    eval "$(timeout 5 xdotool getwindowgeometry --shell "$1")"
    WIN_X=$X WIN_Y=$Y WIN_W=$WIDTH WIN_H=$HEIGHT
}

# Real X input through the XTEST extension.
pointer_click() { timeout 5 xdotool mousemove --sync "$1" "$2" click 1; }
pointer_press() { timeout 5 xdotool mousemove --sync "$1" "$2" mousedown 1; }
pointer_release() { timeout 5 xdotool mouseup 1; }

# pointer_drag X1 Y1 X2 Y2: presses at the first point, moves in steps to the
# second and releases there.
pointer_drag() {
    local step steps=10
    pointer_press "$1" "$2"
    for ((step = 1; step <= steps; ++step)); do
        timeout 5 xdotool mousemove --sync $(($1 + ($3 - $1) * step / steps)) \
            $(($2 + ($4 - $2) * step / steps))
        sleep 0.02
    done
    pointer_release
}

# screenshot FILE [WINDOW]: the whole screen, or the one window.
screenshot() {
    timeout 10 import -window "${2:-root}" "$1"
}
