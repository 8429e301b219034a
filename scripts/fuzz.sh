#!/usr/bin/env bash
# Builds the libFuzzer targets with clang (tests/<folder>/fuzz/: what takes input from outside)
# and runs each over its seed corpus and its kept regression inputs.
#   scripts/fuzz.sh            a short run with AddressSanitizer and UBSan (build-fuzz/), what
#                              the test command does: FUZZ_SECONDS (default 48) shared by the
#                              targets
#   scripts/fuzz.sh RUNS       RUNS executions per target, e.g. 10000000, with UBSan alone
#                              (build-fuzz-long/): several times faster
# Without clang (FUZZ_CXX, default clang++) the short run says that fuzzing was skipped and
# exits with 77, which the test command reports as skipped; an explicit RUNS needs clang.
set -euo pipefail
cd "$(dirname "$0")/.."

runs="${1:-}"
compiler="${FUZZ_CXX:-clang++}"
if ! command -v "$compiler" >/dev/null 2>&1; then
    if [ -n "$runs" ]; then
        echo "error: $compiler is needed to build the fuzz targets" >&2
        exit 1
    fi
    echo "fuzz: SKIPPED: $compiler not found, so no fuzz target was built or run" \
        "(install clang to fuzz)"
    exit 77
fi

# folder of the target under tests/ : target : its corpus
targets=(
    settings:SettingsFileFuzzer:settings
    settings:CategoryFileFuzzer:categories
    lookup:QueryEncoderFuzzer:queries
    browser:AddressUrlFuzzer:addresses
    browser:FailurePageFuzzer:failure_pages
    desktop:ClipboardFuzzer:clipboard
)
names=()
for target in "${targets[@]}"; do
    IFS=: read -r _ name _ <<<"$target"
    names+=("$name")
done

launcher=()
if command -v ccache >/dev/null 2>&1; then
    # Paths relative to the checkout, as in scripts/build.sh: another clone hits the cache.
    launcher=(-DCMAKE_CXX_COMPILER_LAUNCHER=ccache)
    export CCACHE_BASEDIR="$PWD" CCACHE_NOHASHDIR=1
fi
build=build-fuzz sanitizers=address,undefined
[ -n "$runs" ] && build=build-fuzz-long sanitizers=undefined
generator=()
if [ ! -f "$build/CMakeCache.txt" ] && command -v ninja >/dev/null 2>&1; then
    generator=(-G Ninja)
fi
cmake -S . -B "$build" "${generator[@]}" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER="$compiler" -DLEXORRA2_FUZZ=ON -DLEXORRA2_FUZZ_SANITIZERS="$sanitizers" \
    "${launcher[@]}" >/dev/null
cmake --build "$build" -j2 --target "${names[@]}" >/dev/null

seconds=$(( ${FUZZ_SECONDS:-48} / ${#targets[@]} ))
[ "$seconds" -lt 1 ] && seconds=1
log_file="$(mktemp)"
work=""
trap 'rm -rf "$log_file" $work' EXIT
for target in "${targets[@]}"; do
    IFS=: read -r folder name corpus <<<"$target"
    fuzzer="$build/tests/$folder/fuzz/$name"
    fuzz_dir="tests/$folder/fuzz"
    # Kept inputs that once failed: each must now pass.
    shopt -s nullglob
    regressions=("$fuzz_dir/regressions/$corpus"/*)
    shopt -u nullglob
    if [ ${#regressions[@]} -gt 0 ]; then
        "$fuzzer" "${regressions[@]}" >"$log_file" 2>&1 || {
            tail -n 40 "$log_file"
            echo "fuzz: $name fails on a kept regression input"
            exit 1
        }
    fi
    # New inputs go to a scratch corpus, never into the repository.
    work="$(mktemp -d)"
    limit=(-max_total_time="$seconds")
    [ -n "$runs" ] && limit=(-runs="$runs")
    # A failure shows the fuzzer's last words: the check that failed and the input's file.
    if ! ASAN_OPTIONS="${ASAN_OPTIONS:-quarantine_size_mb=16}" "$fuzzer" "${limit[@]}" \
        -max_len=4096 -print_final_stats=1 -artifact_prefix="$build/$name-" "$work" \
        "$fuzz_dir/corpus/$corpus" >"$log_file" 2>&1; then
        tail -n 40 "$log_file"
        echo "fuzz: $name found a failure; the input is in $build/"
        exit 1
    fi
    grep -E '^(stat::number_of_executed_units|stat::average_exec_per_sec)' "$log_file" |
        sed "s|^|$name: |"
    rm -rf "$work"
    work=""
done
