#!/usr/bin/env bash
# Builds Qt for 64-bit Windows with Debian's mingw-w64, from Debian's own
# source package of the Qt version the machine has (qt6-base 6.4.2 on
# Debian 12), and installs it into a cache folder outside the repository:
#
#   ~/.cache/pitchwright/qt-<version>-mingw64-<options key>
#
# The key is made of everything that shapes the result (the configure options
# below, the toolchain and the Debian revision), so a changed option builds
# anew and an unchanged one reuses the cache. Prints the folder as its last
# line. Only what the editor needs is built: Core, Gui, Widgets, Test, the
# `windows` platform plugin and the Windows style plugin; the host tools (moc,
# rcc, uic) are the machine's own (QT_HOST_PATH=/usr).
#
#   bash scripts/build-qt-windows.sh        build unless cached, print the folder
#   PW_QT_CACHE=/some/dir bash ...          cache somewhere else
#
# About 20 to 40 minutes on two busy cores; run it under `nice`.
set -euo pipefail
cd "$(dirname "$0")/.."

say() { echo "== build-qt-windows: $*" >&2; }
fail() {
    echo "== build-qt-windows: FAILED: $*" >&2
    exit 1
}

triple=x86_64-w64-mingw32
command -v $triple-g++-posix >/dev/null || fail "mingw-w64 is not installed (scripts/install-deps.sh)"
command -v dpkg-source >/dev/null || fail "dpkg-dev is not installed (scripts/install-deps.sh)"

# The same version and Debian revision as the host's Qt, whose moc, rcc and
# uic generate code for it.
host_version=$(dpkg-query -W -f='${Version}' qt6-base-dev 2>/dev/null) ||
    fail "the machine's Qt (qt6-base-dev) is not installed"
upstream=${host_version%%+*}
upstream=${upstream#*:}
host_cmake=/usr/lib/$(gcc -dumpmachine)/cmake
[[ -f $host_cmake/Qt6HostInfo/Qt6HostInfoConfig.cmake ]] || fail "no host Qt in $host_cmake"

# The toolchain of Qt's own build: the -posix compilers and the shared
# runtime (libgcc_s, libstdc++, winpthread as DLLs, shipped beside the
# program), so that every Qt DLL and the program share one C++ runtime.
read -r -d '' toolchain <<EOF || true
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER $triple-gcc-posix)
set(CMAKE_CXX_COMPILER $triple-g++-posix)
set(CMAKE_RC_COMPILER $triple-windres)
set(CMAKE_FIND_ROOT_PATH /usr/$triple)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
EOF

options=(
    -DCMAKE_BUILD_TYPE=Release
    -DBUILD_SHARED_LIBS=ON
    -DQT_QMAKE_TARGET_MKSPEC=win32-g++
    -DQT_BUILD_EXAMPLES=OFF -DQT_BUILD_TESTS=OFF -DQT_BUILD_BENCHMARKS=OFF
    # Modules the editor does not use.
    -DFEATURE_network=OFF -DFEATURE_sql=OFF -DFEATURE_dbus=OFF
    -DFEATURE_printsupport=OFF -DFEATURE_concurrent=OFF -DFEATURE_xml=OFF
    # No OpenGL at all. `INPUT_opengl=no` turns off the dynamic GL as well:
    # with OpenGL off but dynamic GL left on (its default on Windows), 6.4.2's
    # Windows plugin does not compile.
    -DINPUT_opengl=no -DFEATURE_opengl_dynamic=OFF -DFEATURE_dynamicgl=OFF
    -DFEATURE_vulkan=OFF
    # Debian's source package leaves out Wintab's header (its licence does
    # not permit modification), which the plugin's tablet support includes.
    -DFEATURE_tabletevent=OFF
    # Everything from Qt's own bundled copies; there is no mingw build of
    # these libraries in Debian. Fonts come from Windows (DirectWrite/GDI).
    -DFEATURE_system_zlib=OFF -DFEATURE_system_pcre2=OFF -DFEATURE_system_png=OFF
    -DFEATURE_system_harfbuzz=OFF -DFEATURE_system_doubleconversion=OFF
    -DFEATURE_system_libb2=OFF -DFEATURE_zstd=OFF -DFEATURE_icu=OFF
    -DFEATURE_freetype=OFF -DFEATURE_fontconfig=OFF
    -DFEATURE_jpeg=OFF -DFEATURE_gif=OFF -DFEATURE_ico=OFF
    -DFEATURE_direct2d=OFF -DFEATURE_androiddeployqt=OFF
)

key=$(printf '%s\n' "$host_version" "$toolchain" "${options[@]}" | sha1sum | cut -c1-8)
cache=${PW_QT_CACHE:-${XDG_CACHE_HOME:-$HOME/.cache}/pitchwright}
prefix=$cache/qt-$upstream-mingw64-$key
if [[ -f $prefix/.pitchwright-complete ]]; then
    say "reusing $prefix"
    echo "$prefix"
    exit 0
fi

work=$cache/qt-$upstream-mingw64-$key.build
started=$SECONDS

# Debian's source package is fetched with the machine's apt but through its
# own sources file, lists and cache in the work folder: the machine's apt
# configuration is not touched. The archive is the one the machine's apt
# already uses for its release.
. /etc/os-release
mirror=$(apt-get indextargets --format '$(REPO_URI) $(RELEASE)' 'Created-By: Packages' 2>/dev/null |
    awk -v r="$VERSION_CODENAME" '$2 == r { print $1; exit }')
[[ -n $mirror ]] || mirror=http://deb.debian.org/debian/

fetch_source() {
    local apt_dir=$work/apt
    mkdir -p "$apt_dir/lists/partial" "$apt_dir/cache/archives/partial" "$apt_dir/sources.list.d"
    echo "deb-src [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror $VERSION_CODENAME main" \
        >"$apt_dir/sources.list"
    local apt_opts=(
        -o "Dir::Etc::SourceList=$apt_dir/sources.list"
        -o "Dir::Etc::SourceParts=$apt_dir/sources.list.d"
        -o "Dir::State::Lists=$apt_dir/lists"
        -o "Dir::Cache=$apt_dir/cache"
    )
    say "fetching the source package qt6-base=$host_version from $mirror"
    apt-get -q "${apt_opts[@]}" update >&2 || fail "apt-get update of $apt_dir/sources.list"
    (cd "$work" && apt-get -q "${apt_opts[@]}" source "qt6-base=$host_version" >&2) ||
        fail "apt-get source qt6-base=$host_version"
}

# Qt 6.4.2 builds its DirectWrite font database only together with Direct2D
# (turned off above), but the Windows plugin refers to it whenever DirectWrite
# 3 is there, and so does not link. The plugin's two guards ask for Direct2D
# as well; its default font database (GDI) is unaffected. A build without this
# change never completes, so the cache key needs not cover it.
patch_source() {
    local file=$src/src/plugins/platforms/windows/qwindowsintegration.cpp
    sed -i 's/^#if QT_CONFIG(directwrite3)$/#if QT_CONFIG(directwrite3) \&\& QT_CONFIG(direct2d)/' "$file"
    [[ $(grep -c '^#if QT_CONFIG(directwrite3) && QT_CONFIG(direct2d)$' "$file") == 2 ]] ||
        fail "the DirectWrite guards of $file are not as expected"
}

configure() {
    # The toolchain is kept beside the installation: Qt's CMake files refer to it.
    mkdir -p "$prefix"
    printf '%s\n' "$toolchain" >"$prefix/mingw-w64-toolchain.cmake"
    say "configuring"
    cmake -S "$src" -B "$work/build" -G Ninja \
        -DCMAKE_TOOLCHAIN_FILE="$prefix/mingw-w64-toolchain.cmake" \
        -DCMAKE_INSTALL_PREFIX="$prefix" \
        -DQT_HOST_PATH=/usr -DQT_HOST_PATH_CMAKE_DIR="$host_cmake" \
        "${options[@]}" >"$work/configure.log" 2>&1 ||
        {
            tail -40 "$work/configure.log" >&2
            fail "configure (log: $work/configure.log)"
        }
    touch "$work/configured"
}

# An interrupted build goes on where it stopped; anything else starts afresh.
if [[ -f $work/configured && -f $work/build/build.ninja ]]; then
    say "resuming the build of Qt $host_version for Windows in $work"
else
    say "building Qt $host_version for Windows into $prefix (work folder $work)"
    rm -rf "$work" "$prefix"
    mkdir -p "$work"
    fetch_source
fi
src=$(find "$work" -mindepth 1 -maxdepth 1 -type d -name 'qt6-base-*' | head -1)
[[ -n $src && -f $src/CMakeLists.txt ]] || fail "the source package did not unpack"
patch_source
[[ -f $work/configured ]] || configure

say "building (-j${JOBS:-$(nproc)})"
cmake --build "$work/build" -j "${JOBS:-$(nproc)}" >"$work/build.log" 2>&1 ||
    {
        grep -B2 -A10 'error' "$work/build.log" | head -60 >&2
        fail "build (log: $work/build.log)"
    }
cmake --install "$work/build" >"$work/install.log" 2>&1 || fail "install (log: $work/install.log)"

# Where the source of these DLLs is, for the licence notes of the packages.
{
    echo "Debian source package qt6-base $host_version ($mirror, pool/main/q/qt6-base),"
    echo "  built with one change: in src/plugins/platforms/windows/qwindowsintegration.cpp"
    echo "  the two guards of the DirectWrite font database also ask for Direct2D,"
    echo "  which this build leaves out and without which Qt does not build that database."
} >"$prefix/SOURCE"
cp "$src/LICENSES/LGPL-3.0-only.txt" "$prefix/LICENSE.LGPL3" 2>/dev/null ||
    cp "$src/LICENSE.LGPL3" "$prefix/LICENSE.LGPL3"
cp "$src/LICENSES/GPL-3.0-only.txt" "$prefix/LICENSE.GPL3" 2>/dev/null ||
    cp "$src/LICENSE.GPL3" "$prefix/LICENSE.GPL3"
touch "$prefix/.pitchwright-complete"
rm -rf "$work"
say "done in $(((SECONDS - started) / 60)) min"
echo "$prefix"
