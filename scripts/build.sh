#!/usr/bin/env bash
# Configures and builds everything (program, tools, tests, benchmarks) into build/, or into
# the folder given first with the CMake options that follow it.
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
dir="${1:-build}"
shift $(($# > 0 ? 1 : 0))
# A compiler cache, where one is installed, makes rebuilds after small changes quick; paths
# are taken relative to the checkout, so that another checkout of the same code hits it too.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
cmake -S . -B "$dir" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "$@" >/dev/null
cmake --build "$dir" -j"$(nproc)"
