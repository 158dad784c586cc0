#!/bin/bash
# Builds and starts Arrowbench on Linux, installing what is missing first.
# With no DISPLAY it starts its own X server, takes a screenshot of the
# program into build/arrowbench-screenshot.png, and exits.
# With --web it builds the browser host and serves build/web on 127.0.0.1
# (a free port, printed by the server); with no DISPLAY it loads the page in
# headless Chromium instead, takes a screenshot, and exits.
set -euo pipefail
cd "$(dirname "$0")/.."

if [ "${1:-}" = --web ]; then
  scripts/setup.sh web
  if [ -n "${DISPLAY:-}" ]; then
    exec python3 -m http.server --bind 127.0.0.1 --directory build/web 0
  fi
  shot=$PWD/build/arrowbench-web-screenshot.png
  rm -f "$shot"
  log=$(mktemp) profile=$(mktemp -d)
  python3 -u -m http.server --bind 127.0.0.1 --directory build/web 0 >"$log" 2>&1 & server=$!
  trap 'kill $server 2>/dev/null; wait $server 2>/dev/null || true; rm -rf "$log" "$profile"' EXIT
  port=
  for _ in $(seq 100); do
    port=$(sed -n 's/.* port \([0-9]*\) .*/\1/p' "$log")
    [ -n "$port" ] && break
    sleep 0.1
  done
  # Virtual time lets the page load its WebAssembly and draw its first
  # frame before the shot.
  chromium --headless --no-sandbox --disable-gpu --use-angle=swiftshader --enable-unsafe-swiftshader \
    --no-first-run --disable-background-networking --disable-component-update --disable-sync --disable-quic \
    --user-data-dir="$profile" --hide-scrollbars --window-size=1280,800 --virtual-time-budget=5000 \
    --screenshot="$shot" "http://127.0.0.1:$port/index.html" >/dev/null 2>&1
  [ -s "$shot" ] || { echo "run: Chromium took no screenshot" >&2; exit 1; }
  echo "No display: served build/web on 127.0.0.1:$port, loaded it in headless Chromium; screenshot in $shot"
  exit 0
fi
scripts/setup.sh linux

if [ -n "${DISPLAY:-}" ]; then
  exec build/linux/arrowbench
fi

shot=$PWD/build/arrowbench-screenshot.png
scripts/with-xvfb.sh bash -c '
  build/linux/arrowbench & app=$!
  for _ in $(seq 100); do xwininfo -name Arrowbench >/dev/null 2>&1 && break; sleep 0.1; done
  sleep 0.5
  import -window root -crop 800x500+0+0 "'"$shot"'"
  kill $app
  wait $app 2>/dev/null || true  # killed on purpose: its status is not ours
'
echo "No display: started the program on its own X server; screenshot in $shot"
