#!/usr/bin/env bash
# The data layer's test suites built with AddressSanitizer and
# UndefinedBehaviorSanitizer, and run. Any report fails the run.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/sanitize
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DPW_SANITIZE=address,undefined \
    -DPW_BUILD_GUI=OFF -DPW_BUILD_BENCH=OFF -DPW_WERROR=ON >/dev/null
cmake --build "$build" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1 UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
