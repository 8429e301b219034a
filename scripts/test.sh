#!/usr/bin/env bash
# Builds everything and runs every test through ctest, then runs the unit, widget, browser
# and window tests again in a build with AddressSanitizer and UndefinedBehaviorSanitizer
# (scripts/sanitize.sh). Arguments go to both ctest runs. Fails if either run fails.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
status=0
ctest --test-dir build --output-on-failure "$@" || status=1
scripts/sanitize.sh "$@" || status=1
# The settings readers under libFuzzer, briefly, when clang is there.
scripts/fuzz.sh || status=1
exit "$status"
