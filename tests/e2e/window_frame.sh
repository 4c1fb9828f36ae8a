#!/usr/bin/env bash
# Under a window manager that draws a frame, the Main window opens 649 x 447
# with its frame, centred on the screen. Runs on a display of its own, so that
# the window manager touches no other test.
set -euo pipefail
shell="$1"
here="$(cd "$(dirname "$0")" && pwd)"

exec xvfb-run -a -s "-screen 0 1024x768x24" bash -s "$shell" "$here" <<'INNER'
set -euo pipefail
shell="$1"; here="$2"
work="$(mktemp -d)"
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "${wm:-}" ] && kill "$wm" 2>/dev/null || true
  [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

HOME="$work" openbox >/dev/null 2>&1 &
wm=$!
python3 "$here/serve.py" >"$work/port" &
server=$!
for _ in $(seq 50); do [ -s "$work/port" ] && xprop -root _NET_SUPPORTING_WM_CHECK >/dev/null 2>&1 && break; sleep 0.1; done
port="$(head -n1 "$work/port")"

HOME="$work" "$shell" "http://127.0.0.1:$port/main" &
pid=$!
for _ in $(seq 200); do
  win="$(xdotool search --onlyvisible --name "主页面" 2>/dev/null | head -n1 || true)"
  [ -n "$win" ] && break
  sleep 0.1
done
[ -n "$win" ] || { echo "the Main window never showed"; exit 1; }

# Let the window settle into its frame, then measure the frame.
outer=""
for _ in $(seq 50); do
  geometry="$(xwininfo -id "$win" -frame)"
  x="$(awk -F: '/Absolute upper-left X/ {gsub(/ /,"",$2); print $2}' <<<"$geometry")"
  y="$(awk -F: '/Absolute upper-left Y/ {gsub(/ /,"",$2); print $2}' <<<"$geometry")"
  w="$(awk -F: '/Width/ {gsub(/ /,"",$2); print $2}' <<<"$geometry")"
  h="$(awk -F: '/Height/ {gsub(/ /,"",$2); print $2}' <<<"$geometry")"
  read -r left right top bottom < <(xprop -id "$win" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g')
  outer="$((w + left + right))x$((h + top + bottom))+$((x - left))+$((y - top))"
  [ "$outer" = "649x447+187+160" ] && break
  sleep 0.1
done
if [ "$outer" != "649x447+187+160" ]; then
  echo "the framed window is $outer, not 649x447+187+160"
  exit 1
fi
echo "ok: framed window $outer"
INNER
