#!/usr/bin/env bash
# The data layer built as Windows executables with mingw-w64 and its test
# suites run under Wine, against Wine's file and registry API. Uses a scratch
# Wine prefix in build/wine-prefix (made on first use, then reused) and no
# display. The registry cases write and remove their own keys, in the 32-bit
# and the 64-bit view, through the Windows registry API.
#
#   bash scripts/test-windows.sh        build and run ctest
#   PW_WINE_FRESH=1 bash scripts/...    start again from a new prefix
#
# Exits non-zero on any failure; leaves no Wine process of its prefix behind.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/mingw
jobs=${JOBS:-$(nproc)}
started=$SECONDS
phase_started=$SECONDS

say() { echo "== test-windows: $*"; }
fail() {
    echo "== test-windows: FAILED: $*" >&2
    exit 1
}
# Seconds since the last call, for the timings printed at the end.
timings=()
lap() {
    timings+=("$1 $((SECONDS - phase_started))s")
    phase_started=$SECONDS
}

wine=$(command -v wine64 || true)
[[ -n $wine ]] || wine=/usr/lib/wine/wine64
[[ -x $wine ]] || wine=$(command -v wine || true)
[[ -n $wine ]] || fail "Wine is not installed (scripts/install-deps.sh installs it)"
command -v x86_64-w64-mingw32-g++-posix >/dev/null || fail "mingw-w64 is not installed"
[[ -f /usr/src/googletest/CMakeLists.txt ]] || fail "GoogleTest sources are not installed"
wineserver=$(command -v wineserver || echo /usr/lib/wine/wineserver)

# No window system, no debug chatter, no Mono or Gecko installers: the tests
# are console programs.
export WINEPREFIX=$root/build/wine-prefix
export WINEARCH=win64 WINEDEBUG=-all DISPLAY='' WINEDLLOVERRIDES="mscoree,mshtml="
export LANG=C.UTF-8 LC_ALL=C.UTF-8
unset WAYLAND_DISPLAY
ready=$WINEPREFIX/.pitchwright-ready

# Ends this prefix's server and with it every Wine process it runs; other
# prefixes are not touched.
stop_wine() {
    "$wineserver" -k >/dev/null 2>&1 || true
    timeout 30 "$wineserver" -w >/dev/null 2>&1 || true
}
trap stop_wine EXIT
trap 'echo "== test-windows: interrupted" >&2; exit 130' INT
trap 'echo "== test-windows: interrupted" >&2; exit 143' TERM

# A server left by an interrupted run would keep the prefix busy.
stop_wine
if [[ ${PW_WINE_FRESH:-} == 1 || ! -f $ready ]]; then
    # An interrupted first boot leaves a prefix that is not to be trusted.
    say "creating the Wine prefix $WINEPREFIX"
    # Debian's Wine keeps the server's socket folder in the temporary folder
    # and its name in the prefix; it would outlive the prefix.
    if [[ -f $WINEPREFIX/wineserver ]]; then
        socket_dir=$(<"$WINEPREFIX/wineserver")
        [[ $socket_dir =~ ^wine-[A-Za-z0-9]{6}$ ]] && rm -rf "${TMPDIR:-/tmp}/$socket_dir"
    fi
    rm -rf "$WINEPREFIX"
    mkdir -p "$(dirname "$WINEPREFIX")"
    timeout 300 "$wine" wineboot -i >/dev/null 2>&1 || fail "wineboot did not finish within 5 minutes"
    # Let the server write the new registry out before the prefix counts as made.
    timeout 60 "$wineserver" -w || fail "wineserver did not stop"
    touch "$ready"
    lap "prefix"
else
    say "reusing the Wine prefix $WINEPREFIX"
fi
# One server for all the runs below instead of one start per program; it is
# ended by stop_wine.
"$wineserver" -p

# The mingw preset runs the suites in $WINEPREFIX too.
say "configuring $build"
cmake --preset mingw >/dev/null || fail "configure"

say "building (-j$jobs)"
cmake --build --preset mingw -j "$jobs" || fail "build"
lap "build"

failures=()

# The first program of a session starts Wine's services, which keep its
# output open and would leave ctest waiting on them: start them here.
"$wine" wineboot >/dev/null 2>&1 || fail "wineboot"

say "ctest"
ctest --preset mingw -j "$jobs" || failures+=("ctest")
lap "ctest"

elapsed=$((SECONDS - started))
say "timings: ${timings[*]}"
if ((${#failures[@]})); then
    printf '== test-windows: FAILED (%ss): %s\n' "$elapsed" "${failures[*]}" >&2
    exit 1
fi
say "all passed (${elapsed}s)"
