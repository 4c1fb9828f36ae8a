#!/usr/bin/env bash
# The real program under the test's display: a separate window opened through
# 文件 → 在新窗口中打开 (Ctrl+O) does not keep it running; Esc in the Main
# window ends it.
set -euo pipefail
shell="$1"
here="$(cd "$(dirname "$0")" && pwd)"

work="$(mktemp -d)"
cleanup() {
  [ -n "${pid:-}" ] && kill "$pid" 2>/dev/null || true
  [ -n "${server:-}" ] && kill "$server" 2>/dev/null || true
  rm -rf "$work"
}
trap cleanup EXIT

python3 "$here/serve.py" >"$work/port" &
server=$!
for _ in $(seq 50); do [ -s "$work/port" ] && break; sleep 0.1; done
port="$(head -n1 "$work/port")"

HOME="$work" "$shell" "http://127.0.0.1:$port/main" &
pid=$!

windows() { xdotool search --onlyvisible --pid "$pid" 2>/dev/null | wc -l; }
wait_for() { # condition, seconds
  for _ in $(seq $(($2 * 10))); do
    if eval "$1"; then return 0; fi
    sleep 0.1
  done
  return 1
}

wait_for '[ "$(xdotool search --onlyvisible --name "主页面" 2>/dev/null | wc -l)" -ge 1 ]' 20 \
  || { echo "the Main window never showed its page"; exit 1; }
main="$(xdotool search --onlyvisible --name "主页面" | head -n1)"

xdotool windowfocus --sync "$main"
xdotool key --clearmodifiers ctrl+o
wait_for '[ "$(xdotool search --onlyvisible --name "打开新网页" 2>/dev/null | wc -l)" -ge 1 ]' 10 \
  || { echo "Ctrl+O opened no Input dialog"; exit 1; }
dialog="$(xdotool search --onlyvisible --name "打开新网页" | head -n1)"
xdotool windowfocus --sync "$dialog"
xdotool type --delay 20 "127.0.0.1:$port/popup"
xdotool key Return
wait_for '[ "$(xdotool search --onlyvisible --name "新窗口" 2>/dev/null | wc -l)" -ge 1 ]' 20 \
  || { echo "no separate window opened"; exit 1; }

xdotool windowfocus --sync "$main"
xdotool key Escape
if ! wait_for '! kill -0 "$pid" 2>/dev/null' 15; then
  echo "the program kept running after its Main window closed"
  exit 1
fi
wait "$pid" || true
pid=""
echo "ok: the program ended with its Main window"
