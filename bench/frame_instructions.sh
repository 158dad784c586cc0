#!/bin/bash
# Instructions per frame, which do not drift with the machine's load:
# bench_frame under callgrind (llvmpipe on one thread), counted inside the
# benchmark loops only, so that the first frame's shader compiles are not
# in it. Prints instructions per call of the clear-only floor, of the same
# picture in the fewest calls, and of render_view, and render_view's own,
# and of the axes' names that the desktop hosts add to it.
# Usage: bench/frame_instructions.sh [BUILD_DIR]
set -euo pipefail
build=${1:-build/linux}
out=$(mktemp)
trap 'rm -f "$out" "$out.named"' EXIT
# The named frames in a run of their own, so that render_view's figures
# stay those of the plain frame.
LP_NUM_THREADS=0 valgrind --tool=callgrind --toggle-collect='*BM_*' --callgrind-out-file="$out" \
  "$build/bench/bench_frame" --benchmark_min_time=0.5 --benchmark_filter=-BM_render_named >/dev/null 2>&1
LP_NUM_THREADS=0 valgrind --tool=callgrind --toggle-collect='*BM_*' --callgrind-out-file="$out.named" \
  "$build/bench/bench_frame" --benchmark_min_time=0.5 --benchmark_filter=BM_render_named >/dev/null 2>&1
python3 - "$out" "$out.named" <<'PY'
import collections, re, sys

def read(path):
    names, calls, inclusive, own = {}, collections.Counter(), collections.Counter(), collections.Counter()
    fn = cfn = None
    lines = open(path).read().split("\n")
    i = 0
    while i < len(lines):
        line = lines[i]
        m = re.match(r"(c?fn)=\((\d+)\)(?: (.*))?$", line)
        if m:
            if m.group(3):
                names[m.group(2)] = m.group(3)
            if m.group(1) == "fn":
                fn = names[m.group(2)]
            else:
                cfn = names[m.group(2)]
        elif line.startswith("calls="):
            cost = lines[i + 1].split()
            calls[cfn] += int(line.split("=")[1].split()[0])
            inclusive[cfn] += int(cost[1]) if len(cost) > 1 else 0
            i += 1
        elif fn and line[:1] and line[0] in "0123456789+-*":
            parts = line.split()
            if len(parts) > 1:
                own[fn] += int(parts[1])
        i += 1
    return calls, inclusive, own

calls, inclusive, own = read(sys.argv[1])
for label, key in (("clear-only floor", "clear_frame"), ("same picture, fewest calls", "picture_frame"),
                   ("render_view (no slots and three)", "render_view(")):
    name = next(k for k in calls if key in k)
    print(f"{label:34} {inclusive[name] // calls[name]:>10} instructions per frame")
name = next(k for k in calls if "render_view(" in k)
print(f"{'render_view, its own code':34} {own[name] // calls[name]:>10} instructions per frame")
calls, inclusive, own = read(sys.argv[2])
name = next(k for k in calls if "draw_axis_names(" in k)
label = "the axes' names (desktop)"
print(f"{label:34} {inclusive[name] // calls[name]:>10} instructions per frame")
PY
