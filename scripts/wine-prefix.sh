#!/bin/sh
# Makes the Wine prefix that the Windows build's programs run in: 32-bit,
# no Mono or Gecko installers, and Wine drawing the window frames itself,
# since the test X server runs no window manager. With DPI, the display's
# dots per inch (LogPixels) are set as a user sets them; 96 otherwise.
# Usage: scripts/wine-prefix.sh PREFIX [DPI]
set -e
prefix=$1
dpi=${2:-}
mkdir -p "$prefix"
export WINEPREFIX="$prefix" WINEARCH=win32 WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml="
wineboot -i >/dev/null 2>&1 || true
wineserver -w
wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /t REG_SZ /d N /f >/dev/null 2>&1
if [ -n "$dpi" ]; then
  wine reg add 'HKCU\Control Panel\Desktop' /v LogPixels /t REG_DWORD /d "$dpi" /f >/dev/null 2>&1
fi
wineserver -w
test -f "$prefix/system.reg"
