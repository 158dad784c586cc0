#!/bin/sh
# Makes the Wine prefix that the Windows build's programs run in: 32-bit
# (or 64-bit for the x86-64 tree), no Mono or Gecko installers, and Wine
# drawing the window frames itself, since the test X server runs no window
# manager. With DPI, the display's dots per inch (LogPixels) are set as a
# user sets them; 96 otherwise. Run on a prefix that exists, it puts the
# settings back.
# A prefix without Decorated=N leaves the frames to a window manager: on a
# server with none, a dialog shows no caption at all. So the settings are
# read back from the prefix's files, and a prefix that lacks them fails.
# Usage: scripts/wine-prefix.sh PREFIX [win32|win64] [DPI]
set -e
if [ -n "${ARROWBENCH_NO_WINE:-}" ]; then
  echo "wine-prefix: the test $ARROWBENCH_NO_WINE makes a Wine prefix but has no wine label" >&2
  exit 1
fi
prefix=$1
arch=${2:-win32}
dpi=${3:-}
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEARCH=$arch WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
# Debian's `wine` takes the 32-bit loader whenever it is installed.
loader=wine
if [ "$arch" = win64 ]; then
  loader=/usr/lib/wine/wine64
  export WINELOADER=$loader
fi
if [ ! -f "$prefix/system.reg" ]; then
  "$loader" wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
settled() {
  grep -q '^"Decorated"="N"' "$prefix/user.reg" 2>/dev/null &&
    { [ -z "$dpi" ] || grep -q "^\"LogPixels\"=dword:$(printf %08x "$dpi")" "$prefix/user.reg"; }
}
for _ in 1 2 3; do
  "$loader" reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1 || true
  if [ -n "$dpi" ]; then
    "$loader" reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1 || true
  fi
  wineserver -w
  settled && break
done
test -f "$prefix/system.reg" && settled || { echo "wine-prefix: $prefix lacks its settings" >&2; exit 1; }
