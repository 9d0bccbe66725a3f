#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The drawing surface as a screen reader meets it: Zirkulon in Xvfb with an
# accessibility bus of its own, read over AT-SPI. The surface is a slider from
# 0 to 360 named after the legs, and its value follows the keys.
#
#   dbus-run-session -- x11_accessibility.sh PROGRAM LOCALE_CACHE_DIR
set -euo pipefail

program=$1
locale_cache=$2
# shellcheck source=tests/e2e/x11_lib.sh
source "$(dirname "$0")/x11_lib.sh"

launcher=/usr/libexec/at-spi-bus-launcher
if [[ ! -x $launcher ]] || ! command -v gdbus >/dev/null; then
    x11_die "AT-SPI is missing; run scripts/setup.sh --tests"
fi
[[ -n ${DBUS_SESSION_BUS_ADDRESS:-} ]] || x11_die "no session bus: run under dbus-run-session"

start_xvfb
german_locale "$locale_cache"

# The accessibility bus, with its socket among the test's files. Asking for it
# only once the launcher holds its name keeps the session bus from starting
# another launcher of its own.
mkdir -p "$x11_work/runtime"
chmod 700 "$x11_work/runtime"
XDG_RUNTIME_DIR=$x11_work/runtime "$launcher" --launch-immediately >"$x11_work/launcher.log" 2>&1 &
x11_pids+=("$!")
launcher_ready() {
    [[ $(gdbus call --session --dest org.freedesktop.DBus --object-path /org/freedesktop/DBus \
        --method org.freedesktop.DBus.NameHasOwner org.a11y.Bus 2>/dev/null) == "(true,)" ]]
}
wait_until 10 launcher_ready || x11_die "no accessibility bus: $(cat "$x11_work/launcher.log")"
address=$(gdbus call --session --dest org.a11y.Bus --object-path /org/a11y/bus \
    --method org.a11y.Bus.GetAddress | sed -nE "s/^\('(.+)',\)$/\1/p")
[[ -n $address ]] || x11_die "the accessibility bus has no address"
mapfile -t bus_pids < <(pgrep -P "${x11_pids[-1]}") # the bus the launcher started
x11_pids+=("${bus_pids[@]}")

# atspi DEST PATH METHOD [ARGS...]: a call on the accessibility bus.
atspi() { timeout 5 gdbus call --address "$address" --dest "$1" --object-path "$2" --method "$3" "${@:4}"; }
property() { atspi "$1" "$2" org.freedesktop.DBus.Properties.Get "$3" "$4"; }

app_env+=(QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1)
start_zirkulon "$program"
await_window '^Eingestellte Genauigkeit: 2°$' >/dev/null
application() {
    atspi org.a11y.atspi.Registry /org/a11y/atspi/accessible/root \
        org.a11y.atspi.Accessible.GetChildren | grep -oE "':[0-9.]+'" | head -n1 | tr -d "'"
}
wait_until 10 application >/dev/null || x11_die "Zirkulon did not register with AT-SPI"
app=$(application)

# Paths below PATH, down to DEPTH levels, whose role is the slider's (51).
sliders() {
    local path=$1 depth=$2 child
    [[ $(atspi "$app" "$path" org.a11y.atspi.Accessible.GetRole) == "(uint32 51,)" ]] && echo "$path"
    ((depth > 0)) || return 0
    for child in $(atspi "$app" "$path" org.a11y.atspi.Accessible.GetChildren |
        grep -oE "objectpath '[^']+'" | sed -E "s/objectpath '(.*)'/\1/"); do
        sliders "$child" $((depth - 1))
    done
}
mapfile -t found < <(sliders /org/a11y/atspi/accessible/root 4)
((${#found[@]} == 1)) || x11_die "${#found[@]} sliders, not 1: ${found[*]}"
slider=${found[0]}
name=$(property "$app" "$slider" org.a11y.atspi.Accessible Name)
[[ $name == *"Winkel zwischen rotem und blauem Schenkel"* ]] || x11_die "the slider is named $name"
value() { property "$app" "$slider" org.a11y.atspi.Value "$1"; }
[[ $(value MinimumValue) == "(<0.0>,)" && $(value MaximumValue) == "(<360.0>,)" ]] ||
    x11_die "the slider runs from $(value MinimumValue) to $(value MaximumValue)"
[[ $(value CurrentValue) == "(<0.0>,)" ]] || x11_die "the slider starts at $(value CurrentValue)"

# Home to 1 degree, then thirteen times Page Up to 131.
# shellcheck disable=SC2046 # thirteen separate key names
timeout 10 xdotool key --delay 30 Home $(printf 'Prior %.0s' {1..13})
at_131() { [[ $(value CurrentValue) == "(<131.0>,)" ]]; }
wait_until 5 at_131 || x11_die "after the keys the slider reads $(value CurrentValue), not 131"
echo "accessibility ok: $name, 0 to 360, 131 after the keys"
