#!/usr/bin/env bash
# Installs the build into a scratch prefix and checks that a desktop finds the program:
# the executables, the help page where the program looks for it, the menu entry and the
# icon it names.
set -euo pipefail
build="$1"
prefix=$(mktemp -d "${TMPDIR:-/tmp}/tavrin-install.XXXXXX")
trap 'rm -rf "$prefix"' EXIT

cmake --install "$build" --prefix "$prefix" > /dev/null

fail() { echo "install: $*"; exit 1; }
for program in tavrin-converter tavrin-convert tavrin-transcode; do
    [ -x "$prefix/bin/$program" ] || fail "bin/$program missing"
done
for file in index.html help.css main-window.png; do
    [ -s "$prefix/share/tavrin-converter/help/$file" ] || fail "help/$file missing"
done
entry="$prefix/share/applications/tavrin-converter.desktop"
[ -s "$entry" ] || fail "the .desktop file is missing"
icon="$prefix/share/icons/hicolor/scalable/apps/tavrin-converter.svg"
[ -s "$icon" ] || fail "the icon is missing"

# The entry's keys: a first line group, an application, the names a menu shows.
[ "$(head -n1 "$entry")" = "[Desktop Entry]" ] || fail "the entry does not start with its group"
value() { sed -n "s/^$1=//p" "$entry"; }
[ "$(value Type)" = Application ] || fail "Type is not Application"
[ "$(value Name)" = "Tavrin Apple TV Converter" ] || fail "Name is wrong"
[ -x "$prefix/bin/$(value Exec | cut -d' ' -f1)" ] || fail "Exec names no installed program"
[ "$(value Icon)" = "$(basename "$icon" .svg)" ] || fail "Icon names no installed icon"
value Categories | grep -q '^AudioVideo;' || fail "Categories lacks its main category"
if command -v desktop-file-validate > /dev/null; then
    desktop-file-validate "$entry" || fail "desktop-file-validate refuses the entry"
fi
grep -q '<svg' "$icon" || fail "the icon is not an SVG picture"
echo "install: program, help, menu entry and icon in place under $prefix"
