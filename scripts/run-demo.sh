#!/usr/bin/env bash
# Starts Pitchwright on the bundled demo installation, from a fresh Debian 12
# machine: installs what is missing, builds the editor, and runs it with a
# copy of examples/demo-prefix as the Wine prefix (build/demo-prefix), so
# that saving a demo tactic never changes the repository. Delete that folder
# to start again from the original demo tactics.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh

cmake --preset ci >/dev/null
cmake --build --preset ci -j "$(nproc)" --target pitchwright

prefix=$PWD/build/demo-prefix
if [[ ! -d $prefix ]]; then
    cp -a examples/demo-prefix "$prefix"
fi

if [[ -z ${DISPLAY:-} && -z ${WAYLAND_DISPLAY:-} ]]; then
    echo "run-demo: no display; start it from a desktop session (or under xvfb-run)" >&2
    exit 1
fi
WINEPREFIX=$prefix exec build/ci/editor/pitchwright
