#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# The Windows program against a bare Win32 window under Wine in Xvfb: runs
# both kinds of bench/win32_bench.cpp in turn and prints the medians, with the
# size of the release exe when given.
#
#   bench/win32_bench.sh WIN32_BENCH_EXE [RUNS] [RELEASE_EXE]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
bench=$1
runs=${2:-7}
# shellcheck source=tests/e2e/x11_lib.sh
source "$here/../tests/e2e/x11_lib.sh"
export WINEPREFIX=$x11_work/wineprefix WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
trap 'wineserver -k 2>/dev/null || true; x11_cleanup' EXIT
start_xvfb
mkdir -p "$WINEPREFIX"
wineserver -p10 # one server for all runs, as on a desktop where Wine already runs
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
for ((run = 0; run < runs; ++run)); do
    for kind in bare game; do
        wine "$bench" "$kind" 2>/dev/null | tr -d '\r' >>"$x11_work/results"
    done
done
median() { sort -n | awk '{ v[NR] = $1 } END { print v[int((NR + 1) / 2)] }'; }
printf '%-6s %12s %12s %12s\n' kind start-up/ms peak/kB move/us
for kind in bare game; do
    printf '%-6s' "$kind"
    for column in 2 3 4; do
        printf ' %12s' "$(awk -v k="$kind" -v c="$column" '$1 == k { print $c }' "$x11_work/results" | median)"
    done
    echo
done
if [[ -n ${3:-} ]]; then
    echo "release exe: $(stat -c %s "$3") bytes"
fi
