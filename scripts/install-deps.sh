#!/usr/bin/env bash
# Installs every Debian 12 package the project needs to build, test, run and
# package Pitchwright. Packages already present are left alone, so a second
# run costs only the dpkg query.
set -euo pipefail

packages=(
  # build
  cmake ninja-build g++ pkg-config
  # data layer tests, fuzzing and benchmarks
  googletest libgtest-dev libgmock-dev libbenchmark-dev clang-14 libclang-rt-14-dev
  # the window
  qt6-base-dev qt6-base-dev-tools qt6-qpa-plugins qt6-tools-dev qt6-tools-dev-tools qt6-l10n-tools
  libgl-dev fonts-comic-neue fonts-dejavu-core fonts-dejavu-extra fonts-liberation
  # the window's icon, made from the SVG
  librsvg2-bin
  # end-to-end tests and screenshots
  xvfb xauth xdotool x11-utils imagemagick python3 strace
  # the Windows installer's screenshots: the fonts of the frames Wine draws
  fonts-wine
  # Windows build of the data layer, run under Wine
  g++-mingw-w64-x86-64 wine64 wine
  # Windows build of the editor: Qt from Debian's source package (dpkg-dev
  # unpacks it), the zip and the installer
  zip nsis
  # packaging
  dpkg-dev file
  # checks of the package, its desktop entry and its AppStream metadata
  lintian desktop-file-utils appstream
)

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done

if ((${#missing[@]} == 0)); then
  exit 0
fi

SUDO=""
if [[ $(id -u) -ne 0 ]]; then SUDO=sudo; fi
echo "Installing: ${missing[*]}"
$SUDO apt-get update -qq
DEBIAN_FRONTEND=noninteractive $SUDO apt-get install -y -qq --no-install-recommends "${missing[@]}"
