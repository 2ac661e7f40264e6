#!/usr/bin/env bash
# Builds the data layer's libFuzzer targets with clang, AddressSanitizer and
# UndefinedBehaviorSanitizer, and runs each for a while:
#
#   scripts/fuzz.sh [SECONDS]    the codec for SECONDS (default 60), the
#                                registry parser for a third of that
#
# The corpus starts from the demo installation and is kept in fuzz/corpus/
# (not committed). A finding is written as crash-* in the build folder and
# fails the script.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
seconds=${1:-60}
build=$root/build/fuzz
command -v clang++-14 >/dev/null ||
    { echo "fuzz: clang++-14 is not installed (scripts/install-deps.sh installs it)" >&2; exit 1; }

cmake --preset fuzz >/dev/null
cmake --build --preset fuzz -j "$(nproc)"

seed() {
    local corpus=$1
    shift
    mkdir -p "$corpus"
    for f in "$@"; do cp -n "$f" "$corpus/" 2>/dev/null || true; done
}
seed fuzz/corpus/tactic examples/demo-prefix/drive_c/CM0001/tactics/*.tct
seed fuzz/corpus/winereg examples/demo-prefix/system.reg

export ASAN_OPTIONS=detect_leaks=1:abort_on_error=1
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
cd "$build"
echo "== fuzz: codec for ${seconds}s"
./fuzz/fuzz_tactic -max_total_time="$seconds" -max_len=4096 -print_final_stats=1 \
    "$root/fuzz/corpus/tactic" 2>&1 | tail -n 12
echo "== fuzz: registry parser for $((seconds / 3))s"
./fuzz/fuzz_winereg -max_total_time=$((seconds / 3)) -max_len=8192 -print_final_stats=1 \
    "$root/fuzz/corpus/winereg" 2>&1 | tail -n 12
