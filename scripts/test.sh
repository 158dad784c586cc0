#!/bin/bash
# Every test of every host, from a fresh Debian 12 machine: installs what is
# missing, builds the Linux, Windows and browser trees, starts an X server of its
# own (Xvfb on a free display), runs all tests, and stops the server.
# On a machine whose kernel runs no 32-bit code (so no 32-bit Wine), the
# 32-bit tree runs the tests that need no Wine, and an x86-64 build of the
# same Windows sources runs the others under 64-bit Wine.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh all || exit 1

# The tree whose Windows programs run under Wine, and what the 32-bit
# tree runs.
if scripts/runs-32-bit.sh; then
  wine_tree=win32
  win32_filter=""
else
  echo "test: this kernel runs no 32-bit programs; the Windows tests run in build/win64 under 64-bit Wine"
  wine_tree=win64
  win32_filter="-LE wine"
fi
prefix=$PWD/build/$wine_tree/wineprefix
[ -f "$prefix/system.reg" ] || scripts/wine-prefix.sh "$prefix" "$wine_tree" || exit 1

# The core and its tests once more under AddressSanitizer and UBSan, with
# the fuzz targets; it needs no display.
cmake --preset asan >/dev/null && cmake --build --preset asan || exit 1
ctest --preset asan
asan=$?

# The browser host: the core's tests as WebAssembly under node, and the page
# in headless Chromium. setup.sh has built it; it needs no display either.
cmake --build --preset web || exit 1
ctest --preset web
web=$?

scripts/with-xvfb.sh bash -c '
  status=0
  ctest --preset linux || status=1
  ctest --preset win32 '"$win32_filter"' || status=1
  if [ '"$wine_tree"' = win64 ]; then ctest --preset win64 || status=1; fi
  WINEPREFIX='"$prefix"' wineserver -k 2>/dev/null
  exit $status
'
status=$?
[ $asan -eq 0 ] || status=1
[ $web -eq 0 ] || status=1
for shot in build/linux/screenshot-linux.png build/win32/screenshot-win32.bmp build/win64/screenshot-win32.bmp; do
  [ -f "$shot" ] && echo "screenshot: $shot"
done
exit $status
