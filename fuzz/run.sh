#!/usr/bin/env bash
# Builds the fuzz targets with clang (libFuzzer, ASan, UBSan) in their own
# build folder and runs each for a given time on its corpus.
#
#   fuzz/run.sh [SECONDS_PER_TARGET] [TARGET...]
#
# Targets: data_file exchange_file line_grammar workbook (all by default).
# The corpora grow in $TAPWISE_FUZZ_BUILD/corpus/TARGET (default build-fuzz/
# beside this folder), seeded by the project's own code; a crash leaves its
# input in $TAPWISE_FUZZ_BUILD/crashes/TARGET and the script exits 1. The last
# line says how many targets passed and failed.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
build=${TAPWISE_FUZZ_BUILD:-$root/build-fuzz}
seconds=${1:-30}
shift || true
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=(data_file exchange_file line_grammar workbook)

set -e
CXX=clang++ CC=clang cmake -S "$here" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -- -j2
seeds="$build/seeds"
rm -rf "$seeds"
"$build/make_fuzz_seeds" "$seeds"
mkdir -p "$seeds/workbook"
for case in types people strict calc nostyles; do
    /usr/bin/python3 "$root/tests/workbook/fixtures.py" "$case" "$seeds/workbook/$case.xlsx" ||
        echo "fuzz: no workbook seed $case (python3-openpyxl missing?)"
done
set +e

export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
passed=0
failed=0
for target in "${targets[@]}"; do
    corpus="$build/corpus/$target"
    crashes="$build/crashes/$target"
    mkdir -p "$corpus" "$crashes" "$seeds/$target"
    echo "fuzz: $target for ${seconds}s"
    if "$build/fuzz_$target" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=2048 \
        -max_len=65536 -print_final_stats=1 -artifact_prefix="$crashes/" \
        "$corpus" "$seeds/$target" >"$build/$target.log" 2>&1; then
        passed=$((passed + 1))
        grep -E '^stat::number_of_executed_units' "$build/$target.log" | sed "s/^/fuzz: $target /"
    else
        failed=$((failed + 1))
        tail -n 40 "$build/$target.log"
        echo "fuzz: $target FAILED; inputs in $crashes"
    fi
done
echo "fuzz: $passed passed, $failed failed"
[ "$failed" -eq 0 ]
