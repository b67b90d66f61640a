#!/usr/bin/env bash
# Builds dbgauge and runs every test: a plain build (with the benchmarks built and run
# once as a smoke test), the same tests under AddressSanitizer and
# UndefinedBehaviorSanitizer, and the threaded tests under ThreadSanitizer.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
scripts/setup.sh

jobs=$(nproc)
run_ctest() { ctest --test-dir "$1" --output-on-failure -j "$jobs" "${@:2}"; }

echo "== plain build"
scripts/build.sh build
run_ctest build

echo "== AddressSanitizer + UndefinedBehaviorSanitizer"
scripts/build.sh build-asan -DDBGAUGE_SANITIZE=address,undefined -DDBGAUGE_BENCH=OFF
ASAN_OPTIONS=detect_leaks=1 UBSAN_OPTIONS=print_stacktrace=1 run_ctest build-asan -LE threads

echo "== ThreadSanitizer"
scripts/build.sh build-tsan -DDBGAUGE_SANITIZE=thread -DDBGAUGE_BENCH=OFF
TSAN_OPTIONS=halt_on_error=1 run_ctest build-tsan -L threads
