#!/usr/bin/env bash
# Builds everything and runs every test through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
ctest --test-dir build --output-on-failure "$@"
# The settings readers under libFuzzer, briefly, when clang is there.
scripts/fuzz.sh
