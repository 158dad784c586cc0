#!/bin/bash
# Pointer motions that reach the program all at once, as from a fast
# pointer on a busy machine, must each draw one frame of the orbit drag:
# the program is stopped while 300 motions go out, then let go. The frames
# are counted by the benchmarks' preloaded probe.
# Usage: test_motion_burst.sh ARROWBENCH FRAME_PROBE_SO DRIVE_POINTER
set -u
app=$1 probe=$2 driver=$3
out=$(mktemp)
trap 'rm -f "$out"' EXIT
ARROWBENCH_PROBE_OUT=$out LD_PRELOAD=$probe "$app" &
pid=$!
for _ in $(seq 100); do xwininfo -name Arrowbench >/dev/null 2>&1 && break; sleep 0.05; done
sleep 0.3
"$driver" Arrowbench 300 0 "$pid" || { echo "FAIL: driver"; kill $pid; exit 1; }
win=$(xdotool search --name '^Arrowbench$' | head -n1)
xdotool mousemove --sync --window "$win" 5 5 key Escape
wait $pid
status=$?
motions=$(awk '$1 == "drag_motions" {print $2}' "$out")
frames=$(awk '$1 == "drag_frames" {print $2}' "$out")
echo "drag motions: $motions, frames drawn: $frames, exit: $status"
[ "$status" = 0 ] && [ "$motions" = 300 ] && [ "$frames" = 300 ] && echo "1 passed, 0 failed" && exit 0
echo "FAIL: expected 300 motions, 300 frames and exit 0"
exit 1
