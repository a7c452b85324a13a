#!/usr/bin/env bash
# Builds Tapwise with AddressSanitizer and UndefinedBehaviorSanitizer and runs
# every test: unit tests, window tests (offscreen) and the end-to-end tests,
# which start their own X server. Needs the packages of start.sh. Before them,
# a short run of every fuzz target (fuzz/run.sh, TAPWISE_FUZZ_SECONDS each,
# 30 by default, 0 to skip), so that the targets keep building and running.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${TAPWISE_TEST_BUILD:-$root/build-test}
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug \
    -DTAPWISE_SANITIZE=ON -DTAPWISE_WERROR=ON -DTAPWISE_BUILD_BENCHMARKS=ON
cmake --build "$build"
export ASAN_OPTIONS=${ASAN_OPTIONS:-detect_leaks=1:abort_on_error=1}
export LSAN_OPTIONS=${LSAN_OPTIONS:-suppressions=$root/tests/lsan.supp:print_suppressions=0}
export UBSAN_OPTIONS=${UBSAN_OPTIONS:-print_stacktrace=1:halt_on_error=1}
export QT_QPA_PLATFORM=${QT_QPA_PLATFORM:-offscreen}
fuzz_status=0
fuzz_seconds=${TAPWISE_FUZZ_SECONDS:-30}
if [ "$fuzz_seconds" -gt 0 ]; then
    TAPWISE_FUZZ_BUILD=${TAPWISE_FUZZ_BUILD:-$build-fuzz} "$root/fuzz/run.sh" "$fuzz_seconds" ||
        fuzz_status=$?
fi
cd "$build"
ctest --output-on-failure --timeout 600 -j2 "$@"
exit "$fuzz_status"
