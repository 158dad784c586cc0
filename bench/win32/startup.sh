#!/bin/bash
# Exec to the first finished frame of a Windows program under Wine, in
# microseconds, from outside: Wine's OpenGL trace writes a line for each
# glFinish as it happens, and the first one is timed as it arrives.
# Usage (with DISPLAY set): bench/win32/startup.sh WINE_RUN PROGRAM.exe [ARG...]
wine_run=$1
exe=$2
fifo=$(mktemp -u)
mkfifo "$fifo"
start=$EPOCHREALTIME
WINEDEBUG=trace+opengl "$wine_run" "$exe" "${@:3}" 2>"$fifo" >/dev/null &
app=$!
# A program that never finishes a frame ends the wait after 60 s of silence.
while IFS= read -r -t 60 line; do
  case $line in
    *trace:opengl:glFinish*)
      now=$EPOCHREALTIME
      awk -v a="$start" -v b="$now" 'BEGIN {printf "%.0f\n", (b - a) * 1e6}'
      break
      ;;
  esac
done <"$fifo"
kill "$app" 2>/dev/null
wait "$app" 2>/dev/null
rm -f "$fifo"
