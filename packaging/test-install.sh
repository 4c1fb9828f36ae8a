#!/usr/bin/env bash
# Installs the built tree into a scratch DESTDIR under /usr and checks that the
# desktop integration is complete and consistent as installed: the menu entry
# starts the installed program with nothing on its command line, its icon exists
# at every size, and the software-centre metadata points at the menu entry.
# Usage: test-install.sh BUILD_DIR
set -euo pipefail
build_dir="$1"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

DESTDIR="$stage" cmake --install "$build_dir" --prefix /usr >/dev/null
usr="$stage/usr"
desktop="$usr/share/applications/org.vesko.Browser.desktop"
metainfo="$usr/share/metainfo/org.vesko.Browser.metainfo.xml"

[ -x "$usr/bin/vesko" ] || fail "usr/bin/vesko missing or not executable"
[ -f "$desktop" ] || fail "desktop file not installed"
[ -f "$metainfo" ] || fail "metainfo not installed"

# Each size folder holds a picture of that size (a swapped file shows blurred).
for size in 16 32 48 64 96 128; do
  png="$usr/share/icons/hicolor/${size}x${size}/apps/vesko.png"
  [ -f "$png" ] || fail "icon ${size}x${size} missing"
  file -b "$png" | grep -q "^PNG image data, $size x $size," \
    || fail "icon ${size}x${size} is $(file -b "$png")"
done
svg="$usr/share/icons/hicolor/scalable/apps/vesko.svg"
file -b "$svg" | grep -q SVG || fail "scalable icon is $(file -b "$svg")"

key() { sed -n "s/^$1=//p" "$desktop"; }

# The program reads no command line: the entry must pass none and claim no
# files or addresses that it would ignore.
[ "$(key Exec)" = vesko ] || fail "Exec is '$(key Exec)', expected plain 'vesko'"
if grep -q '^MimeType=' "$desktop"; then fail "desktop file claims MIME types"; fi
[ -f "$usr/share/icons/hicolor/48x48/apps/$(key Icon).png" ] \
  || fail "Icon=$(key Icon) names no installed icon"

desktop-file-validate "$desktop"
# Also fails when the metainfo's launchable names no installed desktop file.
appstreamcli validate-tree --no-net "$stage"

echo "staged install OK"
