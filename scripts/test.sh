#!/bin/bash
# Every test of every host, from a fresh Debian 12 machine: installs what is
# missing, builds the Linux, Windows and browser trees, starts an X server of its
# own (Xvfb on a free display), runs all tests, and stops the server.
# The Windows tests run under 64-bit Wine on an x86-64 build of the same
# sources everywhere, and under 32-bit Wine on the shipped 32-bit build too
# where 32-bit Wine is installed.
set -uo pipefail
cd "$(dirname "$0")/.."
scripts/setup.sh all || exit 1

# The Windows trees whose tests run under Wine, and the filter that leaves
# the others' Wine tests out (they still run what needs none: the exe's
# format, the zip's contents): scripts/wine-trees.sh is the one answer.
wine_trees=$(scripts/wine-trees.sh)
win32_filter=$(scripts/wine-trees.sh --filter win32)
win64_filter=$(scripts/wine-trees.sh --filter win64)
for tree in $wine_trees; do
  scripts/wine-prefix.sh "$PWD/build/$tree/wineprefix" $tree || exit 1
done
echo "test: the Windows tests run under Wine in: $wine_trees"

# The core and its tests once more under AddressSanitizer and UBSan, with
# the fuzz targets; it needs no display.
cmake --preset asan >/dev/null && cmake --build --preset asan || exit 1

# The x86-64 tree's tests under 64-bit Wine, on an X server of their own,
# beside the rest: most of their time is Wine waiting, not working. Their
# report follows the others'.
win64_log=$(mktemp)
scripts/with-xvfb.sh bash -c '
  ctest --preset win64 '"$win64_filter"'
  status=$?
  WINEPREFIX=$PWD/build/win64/wineprefix wineserver -k 2>/dev/null
  exit $status
' >"$win64_log" 2>&1 &
win64_tests=$!
trap 'kill $win64_tests 2>/dev/null; rm -f "$win64_log"' EXIT

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
  WINEPREFIX=$PWD/build/win32/wineprefix wineserver -k 2>/dev/null
  exit $status
'
status=$?
wait $win64_tests
win64=$?
cat "$win64_log"
[ $asan -eq 0 ] || status=1
[ $web -eq 0 ] || status=1
[ $win64 -eq 0 ] || status=1
for shot in build/linux/screenshot-linux.png build/win32/screenshot-win32.bmp build/win64/screenshot-win32.bmp; do
  [ -f "$shot" ] && echo "screenshot: $shot"
done
exit $status
