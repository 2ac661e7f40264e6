#!/usr/bin/env bash
# Every suite but the end-to-end ones (data layer, pages, pitch view, window)
# built with AddressSanitizer, UndefinedBehaviorSanitizer and LeakSanitizer,
# and run offscreen. Any report fails the run. No leak is suppressed: on the
# offscreen platform neither Qt nor the system's libraries leave any behind.
set -euo pipefail
cd "$(dirname "$0")/.."
# The sanitizers' options are the test preset's.
cmake --preset sanitize >/dev/null
cmake --build --preset sanitize -j "$(nproc)"
ctest --preset sanitize -j "$(nproc)"
