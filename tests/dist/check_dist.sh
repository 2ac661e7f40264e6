#!/usr/bin/env bash
# What a distribution checks before it takes the package: the desktop entry,
# the AppStream metadata and the man page validate without a warning, the
# three name the same MIME type for tactic files, and lintian finds no error
# or warning in the Debian package built from this build folder.
set -euo pipefail
source_dir=$1
build_dir=$2
dist=$source_dir/dist
id=io.github.pitchwright.Pitchwright
status=0
fail() { echo "FAIL: $*"; status=1; }

out=$(desktop-file-validate "$dist/$id.desktop" 2>&1) || fail "desktop-file-validate: $out"
if grep -Eq '(error|warning):' <<<"$out"; then fail "desktop entry: $out"; fi

appstreamcli validate --no-net "$dist/$id.metainfo.xml" || fail "appstreamcli validate"

out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$dist/pitchwright.1" 2>&1 >/dev/null) || true
[[ -z $out ]] || fail "man page: $out"

mime=application/x-cm-tactic
grep -q "^MimeType=$mime;\$" "$dist/$id.desktop" || fail "desktop entry lacks $mime"
grep -q "^Exec=pitchwright %f\$" "$dist/$id.desktop" || fail "desktop entry does not pass the file"
grep -q "<mediatype>$mime</mediatype>" "$dist/$id.metainfo.xml" || fail "AppStream lacks $mime"
grep -q "<mime-type type=\"$mime\">" "$dist/$id.mime.xml" || fail "MIME file lacks $mime"
grep -q '<glob pattern="\*.tct"/>' "$dist/$id.mime.xml" || fail "MIME file lacks *.tct"

out_dir=$(mktemp -d)
trap 'rm -rf "$out_dir"' EXIT
(cd "$build_dir" && cpack -G DEB -B "$out_dir" >/dev/null)
deb=("$out_dir"/pitchwright_*.deb)
# Root is warned about, not refused; that warning is no finding.
if ! out=$(lintian --fail-on error,warning "${deb[0]}" 2>&1); then
  fail "lintian: $(grep -v 'running with root privileges' <<<"$out")"
fi
exit $status
