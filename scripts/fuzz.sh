#!/usr/bin/env bash
# Builds the settings readers' libFuzzer targets with clang and runs each over its seed corpus
# of valid files and its kept regression inputs.
#   scripts/fuzz.sh            a short run with AddressSanitizer and UBSan (build-fuzz/), what
#                              the test command does
#   scripts/fuzz.sh RUNS       RUNS executions per target, e.g. 10000000, with UBSan alone
#                              (build-fuzz-long/): several times faster
# Without clang the short run says so and passes; an explicit RUNS needs clang.
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${1:-}"
if ! command -v clang++ >/dev/null 2>&1; then
    if [ -n "$runs" ]; then
        echo "error: clang++ is needed to build the fuzz targets" >&2
        exit 1
    fi
    echo "fuzz: clang++ not found, fuzz targets not built"
    exit 0
fi

launcher=()
command -v ccache >/dev/null 2>&1 && launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
build=build-fuzz sanitizers=address,undefined
[ -n "$runs" ] && build=build-fuzz-long sanitizers=undefined
cmake -S . -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_CXX_COMPILER=clang++ \
    -DLEXORRA2_FUZZ=ON -DLEXORRA2_FUZZ_SANITIZERS="$sanitizers" "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target SettingsFileFuzzer CategoryFileFuzzer >/dev/null

fuzz_dir=tests/settings/fuzz
log_file="$(mktemp)"
trap 'rm -f "$log_file"' EXIT
for target in SettingsFileFuzzer:settings CategoryFileFuzzer:categories; do
    fuzzer="$build/tests/settings/fuzz/${target%%:*}"
    seeds="$fuzz_dir/corpus/${target##*:}"
    # Kept inputs that once failed: each must now pass.
    shopt -s nullglob
    regressions=("$fuzz_dir/regressions/${target##*:}"/*)
    shopt -u nullglob
    if [ ${#regressions[@]} -gt 0 ]; then
        "$fuzzer" "${regressions[@]}" >"$log_file" 2>&1 || { tail -n 40 "$log_file"; exit 1; }
    fi
    # New inputs go to a scratch corpus, never into the repository.
    work="$(mktemp -d)"
    trap 'rm -rf "$work" "$log_file"' EXIT
    limit=(-max_total_time=15)
    [ -n "$runs" ] && limit=(-runs="$runs")
    # A failure shows the fuzzer's last words: the check that failed and the input's file.
    if ! ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}" "$fuzzer" "${limit[@]}" \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/" "$work" "$seeds" \
        >"$log_file" 2>&1; then
        tail -n 40 "$log_file"
        exit 1
    fi
    grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec)' "$log_file" |
        sed "s|^|${target%%:*}: |"
    rm -rf "$work"
    trap 'rm -f "$log_file"' EXIT
done
