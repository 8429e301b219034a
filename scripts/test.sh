#!/usr/bin/env bash
# Builds everything and runs every test through ctest, then runs the unit, widget, browser
# and window tests again in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize.sh). Arguments go to both ctest runs. Fails if either run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
# ctest leaves its list of failures from an earlier run when every test passes.
rm -f build/Testing/Temporary/LastTestsFailed*.log build-asan/Testing/Temporary/LastTestsFailed*.log
status=0
ctest --test-dir build --output-on-failure "$@" || status=1
scripts/sanitize.sh "$@" || status=1
# The settings readers under libFuzzer, briefly, when clang is there.
scripts/fuzz.sh || status=1
# The last lines are what a reader of a long log sees first: name what failed there.
if [ "$status" -ne 0 ]; then
    for dir in build build-asan; do
        failed="$dir/Testing/Temporary/LastTestsFailed.log"
        if [ -s "$failed" ]; then sed "s|^|failed in $dir: |" "$failed"; fi
    done
    echo "test command failed"
fi
exit "$status"
