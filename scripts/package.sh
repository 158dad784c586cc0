#!/bin/bash
# Builds the packages into build/packages: the Linux .deb, the Windows
# zip and the browser site's zip, after scripts/setup.sh has installed what is missing and built both
# trees. Their times come from the last commit (SOURCE_DATE_EPOCH), so the
# same commit gives the same bytes; scripts/reproducible.sh proves it.
set -euo pipefail
cd "$(dirname "$0")/.."
# Configured anew with it, so a tree set up at an older commit follows.
SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(git log -1 --format=%ct)}
export SOURCE_DATE_EPOCH
scripts/setup.sh all
out=$PWD/build/packages
rm -rf "$out"
for preset in linux win32 web; do
  cpack --config "build/$preset/CPackConfig.cmake" -B "$out"
done
# Keep the packages only: not cpack's staging or the zip step's metadata.
rm -rf "$out/_CPack_Packages" "$out"/*.json
ls -l "$out"
