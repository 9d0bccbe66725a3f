#!/usr/bin/env bash
# Builds the number-reading fuzz target with clang's libFuzzer, AddressSanitizer
# and UndefinedBehaviorSanitizer, and runs it for a bounded time on a scratch
# copy of the seed corpus, so that a run never grows the corpus kept in the
# repository. Any crash, sanitizer report or failed property fails the script;
# the input that caused it is kept in the build directory.
#
# Environment: FUZZ_SECONDS (default 60), FUZZ_BUILD_DIR (default build-fuzz),
# FUZZ_ARGS (more libFuzzer options, e.g. "-jobs=2 -workers=2").
set -euo pipefail
cd "$(dirname "$0")/.."

seconds="${FUZZ_SECONDS:-60}"
build="${FUZZ_BUILD_DIR:-build-fuzz}"
mkdir -p "$build/artifacts"

clang++ -std=c++20 -O1 -g -I. \
    -Wall -Wextra -Wpedantic -Werror \
    -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer \
    fuzz/numerics_fuzz.cpp platform/Numerics.cpp -o "$build/numerics_fuzz"

corpus="$(mktemp -d)"
log="$build/numerics_fuzz.log"
trap 'rm -rf "$corpus"' EXIT
cp fuzz/corpus/* "$corpus/"

echo "Fuzzing number reading and writing for ${seconds}s (log: $log)"
status=0
# shellcheck disable=SC2086 # FUZZ_ARGS is a list of options
ASAN_OPTIONS="halt_on_error=1:abort_on_error=1:detect_leaks=1" \
UBSAN_OPTIONS="halt_on_error=1:print_stacktrace=1" \
    "$build/numerics_fuzz" -max_total_time="$seconds" -max_len=4096 -timeout=10 \
    -rss_limit_mb=2048 -print_final_stats=1 -artifact_prefix="$build/artifacts/" \
    ${FUZZ_ARGS:-} "$corpus" >"$log" 2>&1 || status=$?

if ((status != 0)); then
    tail -n 80 "$log"
    echo "Fuzzing FAILED (exit $status); reproduce with: $build/numerics_fuzz $build/artifacts/<file>"
    exit "$status"
fi
grep -E '^#[0-9]+[[:space:]]+DONE|^Done [0-9]+ runs|^stat::number_of_executed_units' "$log" || tail -n 5 "$log"
echo "Fuzzing passed: no crash in ${seconds}s"
