#!/usr/bin/env bash
# Pitchwright for Windows, cross-built on Debian 12 in one command:
#
#   bash scripts/build-windows.sh
#
# builds Qt for Windows once (scripts/build-qt-windows.sh, cached in
# ~/.cache/pitchwright) or reuses it, then the editor with mingw-w64 in
# build/windows, and under build/windows:
#
#   pitchwright-<version>-win64/           the self-contained program folder
#   pitchwright-<version>-win64.zip        that folder, zipped
#   pitchwright-<version>-setup.exe        the installer (per user, no admin)
#
# and prints their names and sizes. The folder holds exactly the DLLs the
# program loads; this script checks that against the DLLs each file imports.
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD
build=$root/build/windows
jobs=${JOBS:-$(nproc)}
triple=x86_64-w64-mingw32

say() { echo "== build-windows: $*"; }
fail() {
    echo "== build-windows: FAILED: $*" >&2
    exit 1
}

bash scripts/install-deps.sh

say "Qt for Windows"
qt=$(nice -n 10 bash scripts/build-qt-windows.sh | tail -1)
[[ -d $qt/lib/cmake/Qt6 ]] || fail "no Qt for Windows in '$qt'"

say "configuring $build"
PW_QT_WINDOWS=$qt cmake --preset windows >/dev/null || fail "configure"

say "building (-j$jobs)"
cmake --build --preset windows -j "$jobs" || fail "build"

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[[ -n $version ]] || fail "no project version in $build/CMakeCache.txt"
name=pitchwright-$version-win64
folder=$build/$name
zip=$build/$name.zip
setup=$build/pitchwright-$version-setup.exe

say "gathering $folder"
rm -rf "$folder"
cmake --install "$build" --prefix "$folder" --strip >/dev/null || fail "install into $folder"
# The DLLs come as their packages ship them, Debian's libstdc++ with its
# symbols: the copies in the folder lose what only a debugger reads.
find "$folder" -iname '*.dll' -exec "$triple-strip" --strip-unneeded {} + || fail "strip"

# Every DLL a file of the folder imports is in the folder or is Windows' own,
# and every DLL of the folder is imported by the program or by a plugin, the
# plugins being loaded by name at run time.
objdump=$triple-objdump
imports() { "$objdump" -p "$1" | sed -n 's/^\s*DLL Name: //p' | tr '[:upper:]' '[:lower:]'; }
declare -A bundled=() needed=()
while IFS= read -r -d '' f; do
    bundled[$(basename "$f" | tr '[:upper:]' '[:lower:]')]=$f
done < <(find "$folder" -iname '*.dll' -print0)
queue=("$folder/pitchwright.exe" "$folder"/platforms/*.dll "$folder"/styles/*.dll)
for f in "${queue[@]}"; do needed[$(basename "$f" | tr '[:upper:]' '[:lower:]')]=1; done
while ((${#queue[@]})); do
    f=${queue[0]}
    queue=("${queue[@]:1}")
    for dll in $(imports "$f"); do
        if [[ -n ${bundled[$dll]:-} ]]; then
            if [[ -z ${needed[$dll]:-} ]]; then
                needed[$dll]=1
                queue+=("${bundled[$dll]}")
            fi
        elif [[ ! $dll =~ ^(api-ms-win-|ext-ms-) ]] &&
            ! find /usr/lib/x86_64-linux-gnu/wine/x86_64-windows -maxdepth 1 -iname "$dll" | grep -q .; then
            fail "$(basename "$f") imports $dll, which is neither in the folder nor part of Windows"
        fi
    done
done
for dll in "${!bundled[@]}"; do
    [[ -n ${needed[$dll]:-} ]] || fail "$dll is in the folder but nothing loads it"
done

say "packing"
rm -f "$zip" "$setup"
(cd "$build" && zip -qr -X "$zip" "$name") || fail "zip"

# The installer installs and removes exactly the folder's files.
files=$build/installer-files.nsh
remove=$build/installer-remove.nsh
: >"$files"
: >"$remove"
while IFS= read -r -d '' dir; do
    rel=${dir#"$folder"}
    rel=${rel//\//\\}
    printf 'SetOutPath "$INSTDIR%s"\n' "$rel" >>"$files"
    find "$dir" -maxdepth 1 -type f -printf '%f\0' | sort -z | while IFS= read -r -d '' f; do
        printf 'File "%s"\n' "$dir/$f" >>"$files"
        printf 'Delete "$INSTDIR%s\\%s"\n' "$rel" "$f" >>"$remove"
    done
done < <(find "$folder" -type d -print0 | sort -z)
# Folders deepest first, each removed only if empty.
find "$folder" -mindepth 1 -type d -printf '%P\n' | sort -r | while IFS= read -r rel; do
    printf 'RMDir "$INSTDIR\\%s"\n' "${rel//\//\\}" >>"$remove"
done
# The finish page's side picture: the icon on a pitch's greens, as NSIS
# takes it (164x314, a plain BMP).
side=$build/installer-side.bmp
rsvg-convert -w 120 -h 120 -o "$build/installer-icon.png" \
    "$root/dist/icons/hicolor/scalable/apps/io.github.pitchwright.Pitchwright.svg" &&
    convert -size 164x314 'gradient:#3c9e3c-#004000' "$build/installer-icon.png" -gravity north \
        -geometry +0+40 -composite -alpha off "BMP3:$side" || fail "the installer's side picture"
makensis -V2 -INPUTCHARSET UTF8 \
    -DVERSION="$version" -DSOURCE="$folder" -DFILES="$files" -DREMOVE="$remove" \
    -DICON="$build/editor/icon/pitchwright.ico" -DSIDE="$side" \
    -DOUTFILE="$setup" "$root/dist/windows/pitchwright.nsi" >"$build/makensis.log" 2>&1 ||
    {
        cat "$build/makensis.log" >&2
        fail "makensis"
    }

say "built:"
for f in "$folder" "$zip" "$setup"; do
    printf '  %-40s %s\n' "${f#"$root"/}" "$(du -sh "$f" | cut -f1)"
done
