#!/bin/bash
# The Windows zip as a user gets it: cpack makes it from this build tree,
# it is unpacked, its README and the toolchain's notices are checked, and
# its exe is checked as a PE image. A second cpack on another file system
# must give the same bytes. The unpacked zip stays for test_package_zip_run,
# which starts its exe under Wine.
# Usage: test_zip.sh BUILD_DIR SOURCE_DIR VERSION BUILT_EXE OBJDUMP PE_FORMAT
set -u
build=$1
src=$2
version=$3
built_exe=$4
objdump=$5
pe_format=$6
. "$src/tests/packaging/check.sh"

top=arrowbench-$version-win32
make_package "$build" "$top.zip"
zip=$work/out/$top.zip

check_run "zip CRCs" python3 -m zipfile -t "$zip"
members=$(python3 -c 'import sys, zipfile; print("\n".join(zipfile.ZipFile(sys.argv[1]).namelist()))' "$zip")
check "zip members" "$members" "$top/LICENSE
$top/README.txt
$top/THIRD-PARTY-NOTICES.txt
$top/arrowbench.exe"

python3 -m zipfile -e "$zip" "$work/unpacked"
dir=$work/unpacked/$top
check_run "LICENSE is the tree's" cmp "$dir/LICENSE" "$src/LICENSE"
# The users' README, with the line ends every Notepad shows.
check_run "README.txt is packaging/README-windows.txt" cmp <(tr -d '\r' <"$dir/README.txt") "$src/packaging/README-windows.txt"
check "README.txt lines without CR LF" "$(grep -vc $'\r$' "$dir/README.txt")" 0

# The notices of what the exe links statically: the copyright files of the
# toolchain packages the libraries come from, whole, and among them the
# licences of winpthreads, gdtoa and GCC's runtime.
notices=$dir/THIRD-PARTY-NOTICES.txt
arch=i686
[ "$pe_format" = pei-x86-64 ] && arch=x86-64
check "notices lines without CR LF" "$(grep -vc $'\r$' "$notices")" 0
declare -A NOTICE=([winpthreads]="Files: mingw-w64-libraries/winpthreads/"
  [gdtoa]="Files: mingw-w64-crt/gdtoa/" [gdtoa licence]="Lucent Technologies"
  [GCC runtime library exception]="GCC RUNTIME LIBRARY EXCEPTION"
  [libgcc package]="Package: gcc-mingw-w64-$arch-posix " [libstdc++ package]="Package: g++-mingw-w64-$arch-posix "
  [MinGW-w64 runtime package]="Package: mingw-w64-$arch-dev ")
for what in "${!NOTICE[@]}"; do
  check "notices hold $what" "$(tr -d '\r' <"$notices" | grep -cF "${NOTICE[$what]}" | sed 's/^[1-9][0-9]*$/yes/')" yes
done
copyrights=$(tr -d '\r' <"$notices" | awk '$1 == "Package:" { print $2 }' | sort -u)
check "notices name packages" "$([ -n "$copyrights" ] && echo yes)" yes
for pkg in $copyrights; do
  check "notices hold $pkg's copyright file whole" "$(python3 -c 'import sys
notices = open(sys.argv[1], "rb").read().replace(b"\r\n", b"\n")
print("yes" if open(sys.argv[2], "rb").read() in notices else "no")' "$notices" "/usr/share/doc/$pkg/copyright")" yes
done
# The zip ships the exe the other tests run, and its header has no link time.
check_run "exe is the built one" cmp "$dir/arrowbench.exe" "$built_exe"
pe_time() {
  python3 -c 'import struct, sys
d = open(sys.argv[1], "rb").read()
print(struct.unpack_from("<I", d, struct.unpack_from("<I", d, 0x3c)[0] + 8)[0])' "$1"
}
check "exe header time stamp" "$(pe_time "$dir/arrowbench.exe")" 0
check_run "exe format, imports and manifest" cmake -DEXE="$dir/arrowbench.exe" -DOBJDUMP="$objdump" -DFORMAT="$pe_format" \
  -DWINDRES="${objdump%objdump}windres" -DMANIFEST="$src/res/arrowbench.manifest" \
  -P "$src/tests/win32/check_exe.cmake"

check_repack "$build" "$top.zip"

check_exit
