#!/bin/bash
# Runs every benchmark and prints a table of figure, goal and result.
# Needs the Linux build (and the Windows one for the exe size); starts its
# own X server. With --quick each runs once at minimal size, as CI does,
# to keep them working; the figures are then not meant to be read.
# Usage: bench/run.sh [--quick]
set -uo pipefail
cd "$(dirname "$0")/.."
quick=${1:-}
build=build/linux
if [ "$quick" = --quick ]; then
  reps=2; min_time=0.01; motions=50; idle_s=1; starts=1
else
  reps=${BENCH_REPS:-7}; min_time=0.5; motions=2000; idle_s=${BENCH_IDLE:-10}; starts=${BENCH_STARTS:-7}
fi
rows=()
row() { rows+=("$(printf '%-48s | %-22s | %s' "$1" "$2" "$3")"); }

median() { sort -n | awk '{a[NR]=$1} END {if (NR) print (NR % 2 ? a[(NR+1)/2] : (a[NR/2] + a[NR/2+1]) / 2)}'; }
percentile() { sort -n | awk -v p="$1" '{a[NR]=$1} END {i=int(NR*p/100+0.999); if (i<1) i=1; print a[i]}'; }
# A figure that a failed run left empty is printed as "?", never computed with.
number() { [[ $1 =~ ^-?[0-9]+(\.[0-9]*)?([eE][-+]?[0-9]+)?$ ]]; }
ratio() { number "$1" && number "$2" && awk -v a="$1" -v b="$2" 'BEGIN {if (b == 0) print "?"; else printf "%.2f", a / b}' || echo "?"; }
thousandth() { number "$1" && awk -v a="$1" 'BEGIN {printf "%d", a / 1000}' || echo "?"; }
difference() { number "$1" && number "$2" && printf %+d "$(awk -v a="$1" -v b="$2" 'BEGIN {printf "%d", a - b}')" || echo "?"; }

# Google Benchmark medians (real time, ns) by benchmark name.
bench_median() {  # program name
  "$build/bench/$1" --benchmark_repetitions=$reps --benchmark_min_time=$min_time \
    --benchmark_report_aggregates_only=true 2>/dev/null | awk -v n="$2" '$1 == n {print $2}'
}

# 1. Frame cost
floor=$(bench_median bench_frame BM_floor/real_time_median)
empty=$(bench_median bench_frame BM_render/0/real_time_median)
three=$(bench_median bench_frame BM_render/3/real_time_median)
picture=$(bench_median bench_frame BM_same_picture/real_time_median)
named=$(bench_median bench_frame BM_render_named/real_time_median)
row "1. frame, no slots / floor (546x363, llvmpipe)" "<= 1.15x" "$(ratio "$empty" "$floor")x ($(thousandth "$empty") us vs $(thousandth "$floor") us)"
row "1. frame, three slots / floor" "<= 1.15x" "$(ratio "$three" "$floor")x ($(thousandth "$three") us)"
row "1. same picture, fewest calls / floor" "(Mesa's share)" "$(ratio "$picture" "$floor")x ($(thousandth "$picture") us)"
row "1. frame, three slots / same picture" "(ours)" "$(ratio "$three" "$picture")x"
row "1. the axes' names (desktop): frame with / without" "(reported)" "$(ratio "$named" "$three")x ($(awk -v a="$named" -v b="$three" 'BEGIN {printf "%+.1f", (a - b) / 1000}') us)"

# 6. Conversions
ours=$(bench_median bench_conversions BM_ours_median)
libc=$(bench_median bench_conversions BM_libc_median)
row "6. parse+format vs strtod+%g, throughput" ">= 2x" "$(ratio "$libc" "$ours")x"
step_none=$(bench_median bench_conversions BM_step/0_median)
step_full=$(bench_median bench_conversions BM_step/1000_median)
row "8. a command, 1,000 entries kept / none" "<= 1.1x" "$(ratio "$step_full" "$step_none")x ($(thousandth "$step_full") us vs $(thousandth "$step_none") us)"

# 2 to 5 on the Linux host, under an X server of their own.
probe=$PWD/$build/bench/frame_probe.so
out=$(mktemp -d)
scripts/with-xvfb.sh bash -c '
  set -u
  build='"$build"' probe='"$probe"' out='"$out"' motions='"$motions"' idle_s='"$idle_s"' starts='"$starts"'
  run_probed() {  # name program file [arg]
    ARROWBENCH_PROBE_OUT=$3 LD_PRELOAD=$probe $2 ${4:-} & pid=$!
    for _ in $(seq 100); do xwininfo -name "$1" >/dev/null 2>&1 && break; sleep 0.05; done
    sleep 0.5
  }
  stop() {  # name: Escape, with the pointer over the window so the key reaches it
    w=$(xdotool search --name "^$1\$" | head -n1)
    [ -n "$w" ] && xdotool mousemove --sync --window "$w" 5 5
    xdotool key Escape
    for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
    kill $pid 2>/dev/null
    wait $pid; echo $? >> $out/exit_$1
  }
  for i in $(seq $starts); do
    run_probed Arrowbench $build/arrowbench $out/start_app_$i; stop Arrowbench
    run_probed Floor $build/bench/floor_fltk $out/start_floor_$i; stop Floor
    run_probed Floor $build/bench/floor_fltk $out/start_picture_$i --picture; stop Floor
  done
  # motion to frame, and the memory of a scripted session
  run_probed Arrowbench $build/arrowbench $out/motion_app
  win=$(xdotool search --name "^Arrowbench$" | head -n1)
  xdotool mousemove --sync --window $win 110 163 click 1   # Add
  xdotool mousemove --sync --window $win 730 71 click 1    # Redraw
  $build/bench/drive_pointer Arrowbench $motions 1000
  grep VmHWM /proc/$pid/status | awk "{print \$2}" > $out/hwm_app
  # idle: no timers, no polling
  sleep 1
  t0=$(awk "{print \$14 + \$15}" /proc/$pid/stat); sleep $idle_s; t1=$(awk "{print \$14 + \$15}" /proc/$pid/stat)
  awk -v a="$t0" -v b="$t1" "BEGIN {print (a == \"\" || b == \"\") ? \"?\" : b - a}" > $out/idle_app
  stop Arrowbench
  run_probed Floor $build/bench/floor_fltk $out/motion_floor
  $build/bench/drive_pointer Floor $motions 1000
  grep VmHWM /proc/$pid/status | awk "{print \$2}" > $out/hwm_floor
  stop Floor
  run_probed Floor $build/bench/floor_fltk $out/motion_picture --picture
  $build/bench/drive_pointer Floor $motions 1000
  grep VmHWM /proc/$pid/status | awk "{print \$2}" > $out/hwm_picture
  stop Floor
'
field() { awk -v k="$1" '$1 == k {print $2}' "$2"; }
latencies() { awk '$1 == "motion_to_frame_us" {for (i = 2; i <= NF; ++i) print $i}' "$1"; }

drag_motions=$(field drag_motions "$out/motion_app")
drag_frames=$(field drag_frames "$out/motion_app")
row "2. frames per drag motion (Linux, $motions motions)" "exactly 1" "$drag_frames frames / $drag_motions motions"
p99=$(latencies "$out/motion_app" | percentile 99)
p50=$(latencies "$out/motion_app" | median)
floor_frame=$(latencies "$out/motion_floor" | median)
row "2. motion to frame p99 / floor frame (Linux)" "<= 2x" "$(ratio "$p99" "$floor_frame")x ($p99 us, median $p50, vs $floor_frame us)"
picture_p99=$(latencies "$out/motion_picture" | percentile 99)
picture_frame=$(latencies "$out/motion_picture" | median)
row "2. ... / floor drawing the same picture (Linux)" "(ours)" "$(ratio "$p99" "$picture_frame")x (its p99 $picture_p99 us, median $picture_frame)"
app_start=$(for f in "$out"/start_app_*; do field start_to_first_frame_us "$f"; done | median)
floor_start=$(for f in "$out"/start_floor_*; do field start_to_first_frame_us "$f"; done | median)
picture_start=$(for f in "$out"/start_picture_*; do field start_to_first_frame_us "$f"; done | median)
row "3. exec to first frame / FLTK floor (Linux)" "<= 1.2x" "$(ratio "$app_start" "$floor_start")x ($(thousandth "$app_start") ms vs $(thousandth "$floor_start") ms)"
row "3. ... / FLTK floor drawing the same picture" "(ours)" "$(ratio "$app_start" "$picture_start")x (vs $(thousandth "$picture_start") ms)"
row "4. CPU while idle, ${idle_s} s (Linux)" "0" "$(cat "$out/idle_app") clock ticks"
hwm_app=$(cat "$out/hwm_app")
hwm_floor=$(cat "$out/hwm_floor")
hwm_picture=$(cat "$out/hwm_picture")
row "5. peak RSS, scripted session (Linux)" "<= floor + 2048 KiB" "$hwm_app KiB vs $hwm_floor KiB ($(difference "$hwm_app" "$hwm_floor"))"
row "5. ... / floor drawing the same picture" "(ours)" "vs $hwm_picture KiB ($(difference "$hwm_app" "$hwm_picture"))"

# 3 on Windows: the exe and a Win32 dialog with a WGL child, under Wine:
# the shipped 32-bit build where 32-bit Wine runs, else the x86-64 one.
wtree=
for tree in $(scripts/wine-trees.sh); do
  [ -f build/$tree/arrowbench.exe ] && [ -f build/$tree/bench/floor_win32.exe ] && wtree=build/$tree
done
if [ -z "$wtree" ]; then
  echo "bench: no Windows tree built here runs under Wine: the Windows rows are left out"
else
  echo "bench: Windows figures from $wtree"
  scripts/with-xvfb.sh bash -c '
    cd '"$wtree"'
    WINEPREFIX=$PWD/wineprefix wineserver -p
    '"$PWD"'/bench/win32/startup.sh ./wine-run bench/floor_win32.exe >/dev/null  # warm-up
    for i in $(seq '"$starts"'); do
      '"$PWD"'/bench/win32/startup.sh ./wine-run arrowbench.exe >>'"$out"'/wine_app
      '"$PWD"'/bench/win32/startup.sh ./wine-run bench/floor_win32.exe >>'"$out"'/wine_floor
      '"$PWD"'/bench/win32/startup.sh ./wine-run bench/floor_win32.exe picture >>'"$out"'/wine_picture
      '"$PWD"'/bench/win32/startup.sh ./wine-run bench/floor_win32.exe dialog >>'"$out"'/wine_dialog
    done
    motion() {  # caption file program [arg]
      ./wine-run "${@:3}" & app=$!
      ./wine-run bench/bench_win32_motion.exe "$1" '"$motions"' >'"$out"'/$2 || echo 1 >>'"$out"'/exit_wine
      # the driver closes the program; one it could not find must not hang the run
      for _ in $(seq 100); do kill -0 $app 2>/dev/null || break; sleep 0.1; done
      kill $app 2>/dev/null; wait $app
    }
    motion Arrowbench wine_motion_app arrowbench.exe
    motion Floor wine_motion_floor bench/floor_win32.exe
    motion Floor wine_motion_picture bench/floor_win32.exe picture
    motion Arrowbench wine_motion_dialog bench/floor_win32.exe dialog
    WINEPREFIX=$PWD/wineprefix wineserver -k
  '
  # A run that failed left its file empty or missing; its figures print "?".
  w_med= w_p99= f_med= p_med= p_p99= d_med= d_p99=
  read -r _ w_med _ w_p99 <"$out/wine_motion_app"
  read -r _ f_med _ _ <"$out/wine_motion_floor"
  read -r _ p_med _ p_p99 <"$out/wine_motion_picture"
  read -r _ d_med _ d_p99 <"$out/wine_motion_dialog"
  row "2. motion to frame p99 / floor frame (Wine)" "<= 2x" "$(ratio "$w_p99" "$f_med")x ($w_p99 us, median $w_med, vs $f_med us)"
  row "2. ... floor drawing the same picture" "(Mesa's share)" "p99 $p_p99 us, median $p_med us"
  row "2. ... that in our dialog template" "(ours)" "p99 $d_p99 us, median $d_med us"
  wine_app=$(median <"$out/wine_app")
  wine_floor=$(median <"$out/wine_floor")
  wine_picture=$(median <"$out/wine_picture")
  wine_dialog=$(median <"$out/wine_dialog")
  row "3. exec to first frame / Win32 floor (Wine)" "<= 1.2x" "$(ratio "$wine_app" "$wine_floor")x ($(thousandth "$wine_app") ms vs $(thousandth "$wine_floor") ms)"
  row "3. ... / floor drawing the same picture" "(Mesa's share)" "$(ratio "$wine_app" "$wine_picture")x (vs $(thousandth "$wine_picture") ms)"
  row "3. ... / that in our dialog template" "(ours)" "$(ratio "$wine_app" "$wine_dialog")x (vs $(thousandth "$wine_dialog") ms)"
fi

# 7. Size
tmp=$(mktemp)
strip -o "$tmp" "$build/arrowbench" && row "7. Linux binary, stripped" "(reported)" "$(($(stat -c %s "$tmp") / 1024)) KiB"
if [ -f build/win32/arrowbench.exe ]; then
  i686-w64-mingw32-strip -o "$tmp" build/win32/arrowbench.exe &&
    row "7. arrowbench.exe, stripped, static" "<= 512 KiB" "$(($(stat -c %s "$tmp") / 1024)) KiB"
fi
rm -f "$tmp"

status=0
# A program that could not start (or exited with an error) spoils the figures.
for f in "$out"/exit_*; do grep -qv '^0$' "$f" && { echo "bench: $(basename "$f"): $(grep -vc '^0$' "$f") runs failed" >&2; status=1; }; done
[ -n "${BENCH_KEEP:-}" ] && echo "kept $out" >&2 || rm -rf "$out"
printf '%-48s | %-22s | %s\n' figure goal result
printf '%s\n' "${rows[@]}"
exit $status
