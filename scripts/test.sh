#!/usr/bin/env bash
# The whole test suite, from a fresh Debian 12 machine: installs what is
# missing, builds once with warnings as errors, runs the data layer under
# AddressSanitizer/UndefinedBehaviorSanitizer, a short fuzz run, the Windows
# build under Wine, and finally every suite through ctest.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

jobs=$(nproc)
build=build/ci
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DPW_WERROR=ON
cmake --build "$build" -j "$jobs"

for step in scripts/sanitize.sh "scripts/fuzz.sh 60" scripts/test-windows.sh; do
    script=${step%% *}
    if [[ -f $script ]]; then
        echo "== $step"
        bash $step
    fi
done

echo "== ctest"
ctest --test-dir "$build" --output-on-failure -j "$jobs"
