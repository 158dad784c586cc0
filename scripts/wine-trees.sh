#!/bin/bash
# The one answer to "which Windows build trees run their tests under Wine
# here": build/win64 where 64-bit Wine is installed, and build/win32 as well
# where the kernel runs 32-bit code and 32-bit Wine is installed. test.sh,
# bench/run.sh and each tree's wine-run ask this, and nothing else decides.
# Usage: scripts/wine-trees.sh                the trees, win64 first
#        scripts/wine-trees.sh --has TREE     exit 0 when TREE runs under Wine
#        scripts/wine-trees.sh --filter TREE  the ctest arguments that select
#                                             TREE's tests that can run here
# RUNS_32_BIT_CHECK as in scripts/install.sh.
cd "$(dirname "$0")/.."
installed() { dpkg-query -W -f='${db:Status-Abbrev}' "$1" 2>/dev/null | grep -q '^ii'; }
trees=()
installed wine64 && trees+=(win64)
if ${RUNS_32_BIT_CHECK:-scripts/runs-32-bit.sh} && installed wine32:i386; then
  trees+=(win32)
fi
runs() { [[ " ${trees[*]} " == *" $1 "* ]]; }
case ${1:-} in
  "") echo "${trees[@]}" ;;
  --has) runs "$2" ;;
  # A tree without Wine still runs what needs none: the exe's format, the
  # zip's contents, reproducibility.
  --filter) runs "$2" || echo "-LE wine" ;;
  *) echo "usage: $0 [--has TREE | --filter TREE]" >&2; exit 2 ;;
esac
