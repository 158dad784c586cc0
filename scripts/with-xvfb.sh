#!/bin/bash
# Runs a command with an X server of its own: starts Xvfb on a display it
# finds free, runs the command with DISPLAY set, stops the server, and
# passes on the command's exit code.
# Usage: scripts/with-xvfb.sh [--no-glx] [--screen WxH] COMMAND [ARG...]
#   --no-glx      a server without the GLX extension, where no GL visual exists
#   --screen WxH  a screen of that size rather than 1280x1024
set -u
glx=+extension
screen=1280x1024
while true; do
  case "${1:-}" in
    --no-glx) glx=-extension; shift ;;
    --screen) screen=$2; shift 2 ;;
    *) break ;;
  esac
done
fd_file=$(mktemp)
Xvfb -displayfd 3 -screen 0 ${screen}x24 -nolisten tcp -noreset $glx GLX 3>"$fd_file" >/dev/null 2>&1 &
xvfb=$!
stop() {
  kill "$xvfb" 2>/dev/null
  wait "$xvfb" 2>/dev/null
  rm -f "$fd_file"
}
trap stop EXIT
for _ in $(seq 200); do
  [ -s "$fd_file" ] && break
  kill -0 "$xvfb" 2>/dev/null || { echo "with-xvfb: Xvfb did not start" >&2; exit 1; }
  sleep 0.05
done
display=":$(head -n1 "$fd_file")"
[ "$display" != ":" ] || { echo "with-xvfb: Xvfb gave no display" >&2; exit 1; }
DISPLAY=$display "$@"
