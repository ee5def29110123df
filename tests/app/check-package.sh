#!/usr/bin/env bash
# Makes the Debian package from the built tree, unpacks it into a scratch root as dpkg would
# install it, and checks what a desktop and a package manager read from it: the programs, the
# help where the program looks, the menu entry, the icon and the metainfo (each through its
# validator), and the declared dependencies.
set -euo pipefail
build="$1"
scratch=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-package.XXXXXX")
trap 'rm -rf "$scratch"' EXIT
fail() { echo "package: $*"; exit 1; }

cpack -G DEB --config "$build/CPackConfig.cmake" -B "$scratch/out" > "$scratch/cpack.log" 2>&1 ||
    { cat "$scratch/cpack.log"; fail "cpack failed"; }
debs=("$scratch"/out/*.deb)
[ ${#debs[@]} -eq 1 ] && [ -s "${debs[0]}" ] || fail "cpack made no single .deb"
deb="${debs[0]}"
[ "$(basename "$deb")" = "tavrin-converter_1.0_amd64.deb" ] || fail "unexpected name $(basename "$deb")"
field() { dpkg-deb --field "$deb" "$1"; }
[ "$(field Package)" = tavrin-converter ] || fail "Package is $(field Package)"
depends=$(field Depends)
for needed in libavcodec-extra59 libavformat59 libqt6widgets6 libqt6multimedia6 libqt6dbus6 \
              qt6-qpa-plugins gstreamer1.0-libav gstreamer1.0-plugins-good; do
    grep -qw -- "$needed" <<< "$depends" || fail "Depends lacks $needed: $depends"
done

root="$scratch/root"
dpkg -x "$deb" "$root"
usr="$root/usr"
for program in tavrin-converter tavrin-convert tavrin-transcode; do
    [ -x "$usr/bin/$program" ] || fail "bin/$program missing"
    file -L "$usr/bin/$program" | grep -q ', stripped' || fail "bin/$program is not stripped"
done
for file in index.html help.css main-window.png; do
    [ -s "$usr/share/tavrin-converter/help/$file" ] || fail "help/$file missing"
done
entry="$usr/share/applications/tavrin-converter.desktop"
icon="$usr/share/icons/hicolor/scalable/apps/tavrin-converter.svg"
metainfo=("$usr"/share/metainfo/*.metainfo.xml)
[ -s "$entry" ] || fail "the menu entry is missing"
[ -s "$icon" ] || fail "the icon is missing"
[ ${#metainfo[@]} -eq 1 ] && [ -s "${metainfo[0]}" ] || fail "the metainfo is missing"
# Nothing else: no headers, static libraries or test programs.
unexpected=$(cd "$root" && find . -type f | grep -v -e '^./usr/bin/' -e '^./usr/share/' || true)
[ -z "$unexpected" ] || fail "unexpected files: $unexpected"

desktop-file-validate "$entry" || fail "desktop-file-validate refuses the menu entry"
appstreamcli validate --no-net "${metainfo[0]}" > "$scratch/appstream.log" 2>&1 ||
    { cat "$scratch/appstream.log"; fail "appstreamcli refuses the metainfo"; }
grep -q '<launchable type="desktop-id">tavrin-converter.desktop</launchable>' "${metainfo[0]}" ||
    fail "the metainfo does not launch the installed menu entry"
# The installed tree as a software centre reads it: file names, ids and the entry together.
appstreamcli validate-tree --no-net "$root" > "$scratch/tree.log" 2>&1 ||
    { cat "$scratch/tree.log"; fail "appstreamcli refuses the installed tree"; }

# The installed command-line converter runs from where dpkg put it.
"$usr/bin/tavrin-convert" --list-profiles | grep -qF 'Apple TV (*.mp4)' ||
    fail "the installed tavrin-convert does not run"
echo "package: $(basename "$deb") ($(du -k "$deb" | cut -f1) KB) unpacks and validates"
