#!/bin/bash
# Every test of both hosts, from a fresh Debian 12 machine: installs what is
# missing, builds the Linux and the Windows tree, starts an X server of its
# own (Xvfb on a free display), runs all tests, and stops the server.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh all || exit 1

prefix=$PWD/build/win32/wineprefix
[ -f "$prefix/system.reg" ] || scripts/wine-prefix.sh "$prefix" || exit 1

# The core and its tests once more under AddressSanitizer and UBSan, with
# the fuzz targets; it needs no display.
cmake --preset asan >/dev/null && cmake --build --preset asan || exit 1
ctest --preset asan
asan=$?

scripts/with-xvfb.sh bash -c '
  ctest --preset linux; linux=$?
  ctest --preset win32; win32=$?
  WINEPREFIX='"$prefix"' wineserver -k 2>/dev/null
  [ $linux -eq 0 ] && [ $win32 -eq 0 ]
'
status=$?
[ $asan -eq 0 ] || status=1
for shot in build/linux/screenshot-linux.png build/win32/screenshot-win32.bmp; do
  [ -f "$shot" ] && echo "screenshot: $shot"
done
exit $status
