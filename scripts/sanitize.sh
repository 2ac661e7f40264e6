#!/usr/bin/env bash
# Every suite but the end-to-end ones (data layer, pages, pitch view, window)
# built with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer,
# and run offscreen. Any report fails the run. No leak is suppressed: on the
# offscreen platform neither Qt nor the system's libraries leave any behind.
set -euo pipefail
cd "$(dirname "$0")/.."
build=build/sanitize
cmake --preset sanitize >/dev/null
cmake --build "$build" -j "$(nproc)"
ASAN_OPTIONS=detect_leaks=1:abort_on_error=1:strict_string_checks=1 \
UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1 \
    ctest --test-dir "$build" --output-on-failure -j "$(nproc)"
