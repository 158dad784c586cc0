#!/bin/bash
# Builds and starts Arrowbench on Linux, installing what is missing first.
# With no DISPLAY it starts its own X server, takes a screenshot of the
# program into build/arrowbench-screenshot.png, and exits.
set -euo pipefail
cd "$(dirname "$0")/.."
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
