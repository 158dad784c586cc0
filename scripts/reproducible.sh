#!/bin/bash
# Proves the builds reproducible: builds the program and its package twice
# from the same sources, in two copies of the tree at different paths (the
# second on another file system where one exists, so directory order and
# sizes differ too, and under umask 077, so file modes do), and compares the
# results byte for byte.
# SOURCE_DATE_EPOCH is the time of the last commit unless it is given.
# The copies hold the tree as it stands: tracked files and new ones that
# git does not ignore, so uncommitted edits are checked as well.
# Usage: scripts/reproducible.sh [linux] [win32] [web]   (default: linux and win32)
set -euo pipefail
cd "$(dirname "$0")/.."
presets=("$@")
[ ${#presets[@]} -gt 0 ] || presets=(linux win32)

if [ -z "${SOURCE_DATE_EPOCH:-}" ]; then
  SOURCE_DATE_EPOCH=$(git log -1 --format=%ct) || { echo "reproducible: not a git checkout; set SOURCE_DATE_EPOCH" >&2; exit 1; }
fi
export SOURCE_DATE_EPOCH

one=$(mktemp -d)
two=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
trap 'rm -rf "$one" "$two"' EXIT
trees=("$one/arrowbench" "$two/a/longer/path/to/src")
for tree in "${trees[@]}"; do
  mkdir -p "$tree"
  git ls-files -z --cached --others --exclude-standard |
    tar --null --ignore-failed-read -T - -cf - 2>/dev/null | tar -C "$tree" -xf -
done

declare -A TARGETS=([linux]="arrowbench icons docs" [win32]="arrowbench notices" [web]="arrowbench web_page")
declare -A UMASK=(["${trees[0]}"]=022 ["${trees[1]}"]=077)
declare -A OUTPUTS=([linux]="build/linux/arrowbench packages/arrowbench_*.deb"
                    [win32]="build/win32/arrowbench.exe packages/arrowbench-*-win32.zip"
                    [web]="build/web/index.html build/web/sw.js build/web/arrowbench.wasm build/web/arrowbench.js packages/arrowbench-*-web.zip")
same=0
differ=0
for preset in "${presets[@]}"; do
  [ -n "${TARGETS[$preset]:-}" ] || { echo "reproducible: unknown preset $preset" >&2; exit 2; }
  for tree in "${trees[@]}"; do
    echo "reproducible: $preset in $tree, umask ${UMASK[$tree]}"
    (umask "${UMASK[$tree]}" && cd "$tree" &&
      cmake --preset "$preset" -DBUILD_TESTING=OFF >build-$preset.log 2>&1 &&
      cmake --build --preset "$preset" --target ${TARGETS[$preset]} >>build-$preset.log 2>&1 &&
      cpack --config "build/$preset/CPackConfig.cmake" -B packages >>build-$preset.log 2>&1) ||
      { cat "$tree/build-$preset.log"; exit 1; }
  done
  for pattern in ${OUTPUTS[$preset]}; do
    a=$(cd "${trees[0]}" && ls $pattern)
    b=$(cd "${trees[1]}" && ls $pattern)
    sum_a=$(sha256sum "${trees[0]}/$a" | cut -d' ' -f1)
    sum_b=$(sha256sum "${trees[1]}/$b" | cut -d' ' -f1)
    if [ "$a" == "$b" ] && [ "$sum_a" == "$sum_b" ]; then
      same=$((same + 1))
      echo "same      $sum_a  $a"
    else
      differ=$((differ + 1))
      echo "DIFFERENT $a ($sum_a) and $b ($sum_b)"
      cmp -l "${trees[0]}/$a" "${trees[1]}/$b" | head -n 5 || true
    fi
  done
done
echo "$same passed, $differ failed"
[ "$differ" -eq 0 ]
