#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Runs a libFuzzer target for a bounded time on a scratch copy of its seed
# corpus, so that a run never grows the corpus kept in the repository. Any
# crash, sanitizer report or failed property fails the run; the input that
# caused it is kept beside the target as crash-*, leak-* or timeout-*.
#
#   fuzz/run.sh TARGET CORPUS_DIR SECONDS [more libFuzzer options]
#
# The sanitizer build of the test suite builds the targets and runs them this
# way (ctest -R fuzz); for a longer run by hand, e.g.:
#   fuzz/run.sh build-tests-asan/fuzz/numerics_fuzz fuzz/corpus 600
set -euo pipefail

target=$1
seeds=$2
seconds=$3
shift 3
artifacts=$(dirname "$target")
log=$target.log
corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
cp "$seeds"/* "$corpus/"

echo "Fuzzing $(basename "$target") for ${seconds}s (log: $log)"
status=0
ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "$target" -max_total_time="$seconds" -max_len=4096 -timeout=10 -rss_limit_mb=2048 \
    -print_final_stats=1 -artifact_prefix="$artifacts/" "$@" "$corpus" >"$log" 2>&1 || status=$?

if ((status != 0)); then
    tail -n 80 "$log"
    echo "Fuzzing FAILED (exit $status); reproduce with: $target $artifacts/<crash file>"
    exit "$status"
fi
grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs|^stat::number_of_executed_units' "$log" || tail -n 5 "$log"
echo "Fuzzing passed: no crash in ${seconds}s"
