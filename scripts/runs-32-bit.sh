#!/bin/sh
# Exits 0 when this machine can run 32-bit x86 programs (and so the 32-bit
# Wine), 1 when its kernel has no 32-bit support or it is switched off.
[ -x /lib/ld-linux.so.2 ] || exit 1
/lib/ld-linux.so.2 --version >/dev/null 2>&1 || exit 1
