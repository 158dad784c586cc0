#!/bin/bash
# Prints the Windows build trees whose tests run under Wine here: build/win64
# under 64-bit Wine on every x86-64 kernel, and build/win32 as well where
# the kernel runs 32-bit code and 32-bit Wine is installed.
# RUNS_32_BIT_CHECK as in scripts/install.sh.
cd "$(dirname "$0")/.."
trees=win64
if ${RUNS_32_BIT_CHECK:-scripts/runs-32-bit.sh} \
   && dpkg-query -W -f='${db:Status-Abbrev}' wine32:i386 2>/dev/null | grep -q '^ii'; then
  trees="win64 win32"
fi
echo $trees
