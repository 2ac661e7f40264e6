#!/usr/bin/env bash
# The whole test suite, from a fresh Debian 12 machine: installs what is
# missing, builds once with warnings as errors, builds the Windows program,
# its zip and its installer (and, the first time, Qt for Windows), runs every
# suite through ctest, the Windows end-to-end cases under Wine among them,
# then every suite but the end-to-end ones under AddressSanitizer and
# UndefinedBehaviorSanitizer, a short fuzz run, and the data layer built for
# Windows and run under Wine. The configurations, builds and test runs are
# CMakePresets.json's.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
cmake --preset ci
cmake --build --preset ci -j "$jobs"

echo "== Windows program and packages"
bash scripts/build-windows.sh

echo "== ctest (unit, window and end-to-end suites, Linux and Windows)"
PW_E2E_WINDOWS_REQUIRED=1 ctest --preset ci -j "$jobs"

echo "== sanitizers"
bash scripts/sanitize.sh

echo "== fuzz"
bash scripts/fuzz.sh 60

echo "== Windows build under Wine"
bash scripts/test-windows.sh
