#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs COMMAND on an X server of its own (Xvfb), in German (de_DE.UTF-8,
# compiled into LOCALE_CACHE where the system lacks it), as a browser that
# needs a display (WebKit) is run for the page tests.
#
#   under_x.sh LOCALE_CACHE COMMAND...
set -euo pipefail
# shellcheck source=tests/e2e/x11_lib.sh
source "$(dirname "$0")/../e2e/x11_lib.sh"
cache=$1
shift
start_xvfb
german_locale "$cache"
env "${app_env[@]}" "$@"
