#!/bin/sh
# Runs a Windows test program under Wine on an X server of its own that
# has no GLX extension, with the program's standard error in TRACE.
# Usage: no_glx.sh WINE_RUN TRACE PROGRAM [ARG...]
#
# Wine keeps one server per prefix, and the first program it runs starts
# the desktop process on that program's display. So let an earlier server
# end first (it does 3 s after its last program), and ours end before our
# X server goes, so that the next test never joins a desktop on a display
# that is gone. A server kept alive on purpose (wineserver -p) is shared:
# that works, so neither wait is more than a few seconds.
set -u
wine_run=$1 trace=$2
shift 2
export WINEPREFIX="${WINEPREFIX:-$(dirname "$wine_run")/wineprefix}"
here=$(cd "$(dirname "$0")" && pwd)
timeout 10 wineserver -w
TRACE=$trace "$here/../../scripts/with-xvfb.sh" --no-glx sh -c \
  '"$0" "$@" 2>"$TRACE"; status=$?; timeout 10 wineserver -w; exit $status' "$wine_run" "$@"
