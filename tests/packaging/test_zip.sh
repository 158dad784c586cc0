#!/bin/bash
# The Windows zip as a user gets it: cpack makes it from this build tree,
# it is unpacked, and its exe is checked as a PE image, for its version
# resource, and by starting it under Wine. A second cpack on another file
# system must give the same bytes.
# Usage: test_zip.sh BUILD_DIR SOURCE_DIR VERSION WINE_RUN TEST_WIN32_PACKAGE_EXE BUILT_EXE OBJDUMP PE_FORMAT
set -u
build=$1
src=$2
version=$3
wine_run=$4
package_test=$5
built_exe=$6
objdump=$7
pe_format=$8
. "$src/tests/packaging/check.sh"

top=arrowbench-$version-win32
make_package "$build" "$top.zip"
zip=$work/out/$top.zip

check_run "zip CRCs" python3 -m zipfile -t "$zip"
members=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
check "zip members" "$members" "$top/LICENSE
$top/README.md
$top/arrowbench.exe"

python3 -m zipfile -e "$zip" "$work/unpacked"
dir=$work/unpacked/$top
for f in README.md LICENSE; do
  check_run "$f is the tree's" cmp "$dir/$f" "$src/$f"
done
# The zip ships the exe the other tests run, and its header has no link time.
check_run "exe is the built one" cmp "$dir/arrowbench.exe" "$built_exe"
pe_time() {
  python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read()
print(struct.unpack_from("<I", d, struct.unpack_from("<I", d, 0x3c)[0] + 8)[0])' "$1"
}
check "exe header time stamp" "$(pe_time "$dir/arrowbench.exe")" 0
check_run "exe format and imports" cmake -DEXE="$dir/arrowbench.exe" -DOBJDUMP="$objdump" -DFORMAT="$pe_format" \
  -P "$src/tests/win32/check_exe.cmake"
echo "version resource and a run of the zipped exe under Wine:"
"$wine_run" "$package_test" "$dir/arrowbench.exe" "$version"
rc=$?
if [ $rc -eq 77 ]; then
  echo "skipped: the run under Wine (no 32-bit Wine on this machine; the x86-64 tree runs it)"
else
  check "test_win32_package exit code" "$rc" 0
fi

check_repack "$build" "$top.zip"

check_exit
