#!/bin/bash
# Runs a Windows test program under Wine and does for it what only the
# Linux side can. The program prints a request on its standard output and
# waits for "ok" (or "failed") on its standard input:
#   frame XID PATH   the X window XID as a binary PPM file PATH; Wine draws
#                    a GL child window's frames into such a window of its own
#   png BMP          the BMP file converted to a PNG beside it
# Every other line of its output is passed on; its standard error goes to
# TRACE (Wine's debug trace, which the program reads).
# Usage: view_frames.sh WINE_RUN TRACE PROGRAM.exe [ARG...]
set -u
wine_run=$1 trace=$2
shift 2
dir=$(mktemp -d)
trap 'rm -rf "$dir"' EXIT
mkfifo "$dir/requests" "$dir/answers"
"$wine_run" "$@" <"$dir/answers" >"$dir/requests" 2>"$trace" &
pid=$!
# Opened in the order the program opens its ends, or both would wait.
exec 4>"$dir/answers" 3<"$dir/requests"
while IFS= read -r line <&3; do
  line=${line%$'\r'}
  case $line in
    "frame "*)
      read -r _ xid path <<<"$line"
      if import -window "$xid" -depth 8 "ppm:$path.part" && mv -f "$path.part" "$path"; then echo ok; else echo failed; fi >&4
      ;;
    "png "*)
      bmp=${line#png }
      if convert "$bmp" -strip "${bmp%.bmp}.png"; then echo ok; else echo failed; fi >&4
      ;;
    *) printf '%s\n' "$line" ;;
  esac
done
wait "$pid"
