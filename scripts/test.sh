#!/usr/bin/env bash
# Builds everything and runs every test through ctest, then runs the unit, widget, browser
# and window tests again in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize.sh), then the fuzz targets briefly. Arguments go to every ctest run.
# Fails if any of them fails. A new compiler warning fails the build.
set -euo pipefail
cd "$(dirname "$0")/.."
started=$SECONDS
step() { echo "== $1 (at $((SECONDS - started)) s)"; }

step "build"
scripts/build.sh build -DLEXORRA2_WARNINGS_AS_ERRORS=ON
status=0
failures="$(mktemp)"
trap 'rm -f "$failures"' EXIT
# Runs ctest in a build folder; a failure is noted with the names of the tests that failed.
run_ctest() {
    local dir="$1"
    shift
    # ctest leaves its list of failures from an earlier run when every test passes.
    rm -f "$dir"/Testing/Temporary/LastTestsFailed*.log
    if ! ctest --test-dir "$dir" --output-on-failure "$@"; then
        status=1
        sed "s|^|failed in $dir: |" "$dir"/Testing/Temporary/LastTestsFailed*.log >>"$failures" 2>/dev/null || true
    fi
}
# Each test has its own display, folders and ports, so tests run side by side: the ones
# below mostly wait on the engine or the X server. The end-to-end modules, each a whole
# desktop with the program and its browser engine, two at a time.
step "tests"
run_ctest build -j4 -LE e2e "$@"
step "end-to-end tests"
run_ctest build -j2 -L e2e "$@"
step "sanitizer build and tests"
scripts/sanitize.sh "$@" || status=1
# The libFuzzer targets, briefly, when clang is there.
step "fuzzing"
skipped=""
scripts/fuzz.sh || case $? in
    77) skipped="fuzzing skipped: clang++ not found (install clang to fuzz)" ;;
    *) status=1 ;;
esac
step "done"
# Said last whatever the outcome, so that a missing step is not taken for a passing one.
[ -n "$skipped" ] && echo "$skipped"
# The last lines are what a reader of a long log sees first: name what failed there.
if [ "$status" -ne 0 ]; then
    cat "$failures"
    echo "test command failed"
fi
exit "$status"
