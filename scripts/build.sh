#!/usr/bin/env bash
# Configures and builds everything (program, tools, tests, benchmarks) into build/.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
# A compiler cache, where one is installed, makes rebuilds after small changes quick.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
fi
cmake -S . -B build -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" >/dev/null
cmake --build build -j"$(nproc)"
