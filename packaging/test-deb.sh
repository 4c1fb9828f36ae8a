#!/usr/bin/env bash
# Builds the Debian package with CPack, checks its control fields and contents,
# installs it, starts the installed program under the current DISPLAY until its
# window shows, and removes it again.
#
# dpkg changes the real system only when running as root with CI=true or
# VESKO_DEB_INSTALL=1, and only when vesko is not installed already; otherwise
# the package is unpacked into a scratch root and run from there.
# Usage: test-deb.sh BUILD_DIR VERSION
set -euo pipefail
build_dir="$(cd "$1" && pwd)"
version="$2"
arch="$(dpkg --print-architecture)"
scratch="$(mktemp -d)"
pid=""
installed_by_us=0

cleanup() {
  if [ -n "$pid" ]; then
    kill -KILL -- "-$pid" 2>/dev/null || true
  fi
  if [ "$installed_by_us" = 1 ]; then
    dpkg -r vesko >/dev/null 2>&1 || true
  fi
  rm -rf "$scratch"
}
trap cleanup EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# --- build ------------------------------------------------------------------
if ! cpack -G DEB --config "$build_dir/CPackConfig.cmake" -B "$scratch/out" \
     >"$scratch/cpack.log" 2>&1; then
  cat "$scratch/cpack.log" >&2
  find "$scratch/out" -name '*Output.log' -exec tail -n 40 {} + >&2 || true
  fail "cpack failed (it builds the project first: is the build broken?)"
fi
deb="$scratch/out/vesko_${version}_${arch}.deb"
[ -f "$deb" ] || fail "no $(basename "$deb"); cpack made: $(ls "$scratch/out")"

# --- control fields -----------------------------------------------------------
dpkg-deb --info "$deb"
field() { dpkg-deb --field "$deb" "$1"; }
expect_field() {
  [ "$(field "$1")" = "$2" ] || fail "$1 is '$(field "$1")', expected '$2'"
}
expect_field Package vesko
expect_field Version "$version"
expect_field Architecture "$arch"
expect_field Section web
expect_field Maintainer "Vesko浏览器开发组 <dev@example.com>"

# Package names of a relation field, one a line, versions and alternatives split off.
names() { field "$1" | tr ',|' '\n\n' | sed 's/(.*//; s/[[:space:]]//g' | sed '/^$/d'; }
# The engine and the toolkit come from dpkg-shlibdeps; the sandbox helpers are
# run, not linked, so they must be named explicitly.
depends="$(names Depends)"
for dep in libwebkit2gtk-4.1-0 libgtkmm-3.0-1v5 bubblewrap xdg-dbus-proxy; do
  grep -qx "$dep" <<<"$depends" || fail "Depends lacks $dep: $(field Depends)"
done
grep -qx fonts-noto-cjk <<<"$(names Recommends)" \
  || fail "Recommends lacks fonts-noto-cjk: $(field Recommends)"

# --- contents -----------------------------------------------------------------
listing="$(dpkg-deb --contents "$deb")"
paths="$(awk '{print $6}' <<<"$listing")"
icons=./usr/share/icons/hicolor
for path in ./usr/bin/vesko \
            ./usr/share/applications/org.vesko.Browser.desktop \
            ./usr/share/metainfo/org.vesko.Browser.metainfo.xml \
            $icons/{16x16,32x32,48x48,64x64,96x96,128x128}/apps/vesko.png \
            $icons/scalable/apps/vesko.svg; do
  grep -qxF "$path" <<<"$paths" || fail "package lacks $path"
done
outside="$(grep -v -e '^\./$' -e '^\./usr/' <<<"$paths" || true)"
[ -z "$outside" ] || fail "package has files outside /usr: $outside"
grep -E '^-rwxr-xr-x root/root .* \./usr/bin/vesko$' <<<"$listing" >/dev/null \
  || fail "usr/bin/vesko is not an executable owned by root: $(grep 'usr/bin/vesko' <<<"$listing")"

# --- install ------------------------------------------------------------------
use_dpkg=0
if [ "$(id -u)" = 0 ] && { [ "${CI:-}" = true ] || [ "${VESKO_DEB_INSTALL:-}" = 1 ]; }; then
  if [ "$(dpkg-query -W -f='${Status}' vesko 2>/dev/null || true)" = "install ok installed" ]; then
    echo "vesko is installed on this system already: unpacking instead of replacing it"
  else
    use_dpkg=1
  fi
fi

if [ "$use_dpkg" = 1 ]; then
  installed_by_us=1
  dpkg -i "$deb"
  grep -qx /usr/bin/vesko <<<"$(dpkg -L vesko)" || fail "dpkg -L vesko lacks /usr/bin/vesko"
  bin=/usr/bin/vesko
else
  dpkg-deb -x "$deb" "$scratch/root"
  bin="$scratch/root/usr/bin/vesko"
fi
[ -x "$bin" ] || fail "$bin is not executable"
if ldd "$bin" | grep 'not found'; then fail "installed program lacks shared libraries"; fi

# --- run ------------------------------------------------------------------------
[ -n "${DISPLAY:-}" ] || fail "no DISPLAY: run under xvfb-run"
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
  export XDG_RUNTIME_DIR="$scratch/runtime"
  mkdir -m 700 "$XDG_RUNTIME_DIR"
fi
# A session of its own, so that it and the engine's processes end together.
# The window is found by the program's process, not by its title: the first
# page may fail to load without a network and retitle the window.
setsid "$bin" >"$scratch/vesko.log" 2>&1 &
pid=$!
alive() { [ -e "/proc/$pid" ] && [ "$(awk '{print $3}' "/proc/$pid/stat")" != Z ]; }
window=""
deadline=$((SECONDS + 20))
while [ -z "$window" ] && [ "$SECONDS" -lt "$deadline" ]; do
  alive || { cat "$scratch/vesko.log" >&2; fail "the installed program ended by itself"; }
  sleep 0.25
  window="$(xdotool search --onlyvisible --pid "$pid" 2>/dev/null | head -n 1 || true)"
done
[ -n "$window" ] || { cat "$scratch/vesko.log" >&2; fail "no window of the installed program within 20 s"; }
echo "window $window: $(xdotool getwindowname "$window")"

kill -TERM -- "-$pid"
wait "$pid" 2>/dev/null || true
pid_group="$pid"
pid=""
for _ in $(seq 1 20); do
  kill -0 -- "-$pid_group" 2>/dev/null || break
  sleep 0.25
done
kill -KILL -- "-$pid_group" 2>/dev/null || true

# --- remove ---------------------------------------------------------------------
if [ "$use_dpkg" = 1 ]; then
  dpkg -r vesko
  installed_by_us=0
  [ ! -e /usr/bin/vesko ] || fail "/usr/bin/vesko is still there after dpkg -r"
  [ ! -e /usr/share/applications/org.vesko.Browser.desktop ] \
    || fail "the desktop file is still there after dpkg -r"
fi

echo "package OK ($(basename "$deb"), installed with $([ "$use_dpkg" = 1 ] && echo dpkg || echo dpkg-deb -x))"
