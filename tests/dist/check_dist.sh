#!/usr/bin/env bash
# check_dist.sh SOURCE BUILD [--install]: the desktop entry, AppStream metadata and man page
# validate without a note and name one MIME type for tactic files, the package holds the icons
# they name, lintian accepts it; with --install (root) it installs, tactic files open with it and
# show their icon, it starts and it uninstalls.
set -euo pipefail
dist=$1/dist id=io.github.pitchwright.Pitchwright mime=application/x-cm-tactic status=0
fail() { echo "FAIL: $*"; status=1; }  # goes on, to report every finding
out_dir=$(mktemp -d -p "$2")
trap 'rm -rf "$out_dir"; [[ ${3:-} != --install ]] || dpkg -r pitchwright >/dev/null' EXIT
(cd "$2" && cpack -G DEB -B "$out_dir" >/dev/null)
deb=("$out_dir"/pitchwright_*_amd64.deb)
if [[ ${3:-} == --install ]]; then
  [[ $EUID == 0 ]] || { echo "SKIP: installing a package needs root"; exit 77; }
  DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${deb[0]}" >/dev/null
  grep -q "^$mime=$id.desktop;" /usr/share/applications/mimeinfo.cache || fail "not for $mime"
  [[ -f /usr/share/mime/$mime.xml && -f /usr/share/icons/hicolor/scalable/apps/$id.svg ]] ||
    fail "MIME type or icon not installed"
  grep -qx "$mime:$id-tactic" /usr/share/mime/icons || fail "the MIME database has no icon for $mime"
  [[ $(xvfb-run -a /usr/bin/pitchwright --version) == "Pitchwright "* ]] || fail "no start on X"
  exit $status
fi
# Not even a hint or a note: each marks something a desktop shows oddly.
out=$(desktop-file-validate "$dist/$id.desktop" 2>&1) || true
[[ -z $out ]] || fail "desktop-file-validate: $out"
appstreamcli validate --no-net --strict "$dist/$id.metainfo.xml" || fail "appstreamcli validate"
out=$(LC_ALL=C.UTF-8 MANWIDTH=80 man --warnings -l "$dist/pitchwright.1" 2>&1 >/dev/null) || true
[[ -z $out ]] || fail "man page: $out"
grep -q "^MimeType=$mime;\$" "$dist/$id.desktop" || fail "desktop entry lacks $mime"
grep -q "^Exec=pitchwright %f\$" "$dist/$id.desktop" || fail "desktop entry does not pass the file"
grep -q "<mediatype>$mime</mediatype>" "$dist/$id.metainfo.xml" || fail "AppStream lacks $mime"
grep -q "<mime-type type=\"$mime\">" "$dist/$id.mime.xml" || fail "MIME file lacks $mime"
grep -q '<glob pattern="\*.tct"/>' "$dist/$id.mime.xml" || fail "MIME file lacks *.tct"
# The icons the menu and the file manager look up are in the package.
files=$(dpkg-deb -c "${deb[0]}")
for icon in "apps/$(sed -n 's/^Icon=//p' "$dist/$id.desktop")" \
  "mimetypes/$(sed -n 's/.*<icon name="\([^"]*\)".*/\1/p' "$dist/$id.mime.xml")"; do
  grep -q "/usr/share/icons/hicolor/scalable/$icon.svg\$" <<<"$files" || fail "no icon $icon in the package"
done
# Root is warned about, not refused; that warning is no finding.
out=$(lintian --fail-on error,warning "${deb[0]}" 2>&1) ||
  fail "lintian: $(grep -v 'running with root privileges' <<<"$out")"
exit $status
