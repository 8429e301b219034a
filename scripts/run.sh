#!/usr/bin/env bash
# Builds the program and starts it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/build.sh
exec build/src/tools/lexorra2-url yahoo2_kokugo "辞書"
