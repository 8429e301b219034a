#!/usr/bin/env bash
# Configures and builds everything (program, tools, tests, benchmarks) into build/, or into
# the folder given first with the CMake options that follow it; targets named after "--"
# are built instead of everything:  build.sh DIR [CMAKE_OPTION...] [-- TARGET...]
set -euo pipefail
cd "$(dirname "$0")/.."
scripts/deps.sh
dir="${1:-build}"
shift $(($# > 0 ? 1 : 0))
options=() targets=()
while [ $# -gt 0 ]; do
    if [ "$1" = "--" ]; then
        shift
        targets=(--target "$@")
        break
    fi
    options+=("$1")
    shift
done
# A compiler cache, where one is installed, makes rebuilds after small changes quick; paths
# are taken relative to the checkout, so that another checkout of the same code hits it too.
launcher=()
if command -v ccache >/dev/null 2>&1; then
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
# Ninja for a new folder; a folder configured before keeps the generator it has.
generator=()
if [ ! -f "$dir/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
cmake -S . -B "$dir" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo "${launcher[@]}" "${options[@]}" >/dev/null
cmake --build "$dir" -j"$(nproc)" "${targets[@]}"
