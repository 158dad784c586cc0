#!/bin/bash
# Installs what Arrowbench needs on Debian 12 (only what is missing; needs
# root for that) and builds it.
# Usage: scripts/setup.sh linux     the Linux program only
#        scripts/setup.sh web       the browser host and its tests only
#        scripts/setup.sh all       every host and everything the tests use
set -euo pipefail
cd "$(dirname "$0")/.."
what=${1:-all}

scripts/install.sh "$what"

if [ "$what" = all ] && ! locale -a 2>/dev/null | grep -qix 'de_DE.utf8'; then
  # The conversions are tested under a locale with a decimal comma.
  localedef -i de_DE -f UTF-8 de_DE.UTF-8
fi

if [ "$what" = web ] || [ "$what" = all ]; then
  cmake --preset web >/dev/null
  cmake --build --preset web
fi
[ "$what" = web ] && exit 0
cmake --preset linux >/dev/null
cmake --build --preset linux
if [ "$what" = all ]; then
  # The shipped 32-bit exe, and the same sources for x86-64, whose tests
  # run under 64-bit Wine on every machine.
  for tree in win32 win64; do
    cmake --preset $tree >/dev/null
    cmake --build --preset $tree
  done
fi
