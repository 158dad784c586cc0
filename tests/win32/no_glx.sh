#!/bin/sh
# Runs a Windows test program under Wine on an X server of its own that
# has no GLX extension, with the program's standard error in TRACE.
# Wine keeps one server process per prefix, and the programs started
# through it share its desktop on the display it first saw; so wait for
# any earlier one to end before, and for this one to end after.
# Usage: no_glx.sh WINE_RUN TRACE PROGRAM [ARG...]
set -u
wine_run=$1 trace=$2
shift 2
export WINEPREFIX="${WINEPREFIX:-$(dirname "$wine_run")/wineprefix}"
here=$(cd "$(dirname "$0")" && pwd)
wineserver -w
TRACE=$trace "$here/../../scripts/with-xvfb.sh" --no-glx sh -c '"$0" "$@" 2>"$TRACE"; status=$?; wineserver -w; exit $status' \
  "$wine_run" "$@"
