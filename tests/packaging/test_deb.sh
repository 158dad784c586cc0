#!/bin/bash
# The .deb as a user gets it: cpack makes it from this build tree, dpkg-deb
# unpacks it into a scratch root, and everything in it is checked there:
# control fields and dependencies, the file list, the program (ELF, its
# libraries resolve, it starts and ends with 0 on the X server), the icons,
# the desktop entry, the AppStream metadata, the changelog and the manual
# page, and lintian. The package is made under umask 077; a second cpack,
# under the caller's umask and on another file system, must give the same
# bytes.
# Usage: test_deb.sh BUILD_DIR SOURCE_DIR VERSION   (DISPLAY set)
set -u
build=$1
src=$2
version=$3
. "$src/tests/packaging/check.sh"

arch=$(dpkg --print-architecture)
# Under umask 077 CMake's directories come out 0700 unless the packaging
# sets their modes itself.
caller_umask=$(umask)
umask 077
make_package "$build" "arrowbench_${version}_${arch}.deb"
umask "$caller_umask"
deb=$work/out/arrowbench_${version}_${arch}.deb

# Control fields.
declare -A FIELD=([Package]=arrowbench [Version]=$version [Architecture]=$arch
  [Section]=math [Priority]=optional [Maintainer]="Arrowbench developers <devel@arrowbench.invalid>")
for f in "${!FIELD[@]}"; do
  check "control $f" "$(dpkg-deb -f "$deb" "$f")" "${FIELD[$f]}"
done
description=$(dpkg-deb -f "$deb" Description)
check "description has a synopsis and a long text" \
  "$(printf '%s\n' "$description" | awk 'NR == 1 && length($0) > 0 && length($0) < 80 { s = 1 } NR > 1 && /^ [^ ]/ { l++ } END { print (s && l >= 2) ? "yes" : "no" }')" yes

# The data archive: exactly these files, owned by root, nothing outside /usr.
expected_files="./usr/bin/arrowbench
./usr/share/applications/arrowbench.desktop
./usr/share/doc/arrowbench/changelog.gz
./usr/share/doc/arrowbench/copyright
./usr/share/icons/hicolor/16x16/apps/arrowbench.png
./usr/share/icons/hicolor/256x256/apps/arrowbench.png
./usr/share/icons/hicolor/32x32/apps/arrowbench.png
./usr/share/icons/hicolor/48x48/apps/arrowbench.png
./usr/share/man/man1/arrowbench.1.gz
./usr/share/metainfo/org.arrowbench.arrowbench.metainfo.xml"
listing=$(dpkg-deb -c "$deb")
check "files in the package" "$(printf '%s\n' "$listing" | awk '$1 !~ /^d/ { print $6 }' | sort)" "$expected_files"
check "entries not owned by root/root" "$(printf '%s\n' "$listing" | awk '$2 != "root/root"' | wc -l)" 0
check "entries outside ./usr/" "$(printf '%s\n' "$listing" | awk '$6 !~ /^\.\/usr\//' | wc -l)" 0
# Modes as Debian wants them: directories 0755, files 0644, the program 0755.
check "entries with other modes" "$(printf '%s\n' "$listing" | awk '
  { want = $6 == "./usr/bin/arrowbench" ? "-rwxr-xr-x" : $1 ~ /^d/ ? "drwxr-xr-x" : "-rw-r--r--" }
  $1 != want { print $1, $6 }')" ""

# lintian as strict as it goes: no error and no warning.
lintian_out=$(lintian --pedantic -I "$deb" 2>&1)
check "lintian exit code" "$?" 0
check "lintian errors and warnings" "$(printf '%s\n' "$lintian_out" | grep '^[EW]: ')" ""

root=$work/root
check_run "dpkg-deb -x" dpkg-deb -x "$deb" "$root"

# The program: an executable ELF for this machine whose libraries all resolve.
bin=$root/usr/bin/arrowbench
check "program mode" "$(stat -c %a "$bin")" 755
check "program type" "$(file -b "$bin" | grep -Eo '^ELF [0-9]+-bit [LM]SB (pie )?executable' | sed 's/.*SB //; s/pie //')" \
  "executable"
check_run "ldd" ldd "$bin"
# Built hardened: PIE, full RELRO with immediate binding, stack protector.
check "program is PIE" "$(readelf -h "$bin" | awk '$1 == "Type:" { print $2 }') $(readelf -d "$bin" | grep -c 'FLAGS_1.*PIE')" "DYN 1"
check "program has RELRO" "$(readelf -lW "$bin" | grep -c GNU_RELRO)" 1
check "program binds now" "$(readelf -d "$bin" | grep -c 'FLAGS_1.*NOW')" 1
check "program has stack protector" "$(readelf --dyn-syms -W "$bin" | grep -c ' UND __stack_chk_fail')" 1
check "libraries not found by ldd" "$(ldd "$bin" | grep -c 'not found')" 0

# Every library the program names is in a package that Depends names, and
# every Depends group is met by what this system has installed.
depends=$(dpkg-deb -f "$deb" Depends)
depend_names=" $(printf '%s\n' "$depends" | tr ',|' '\n\n' | awk '{ print $1 }' | tr '\n' ' ') "
owner() {  # LIBRARY PATH -> package, also across the merged /usr
  local p q found
  for p in "$1" "$(readlink -f "$1")"; do
    for q in "$p" "${p#/usr}" "/usr$p"; do
      found=$(dpkg -S "$q" 2>/dev/null | head -n1 | cut -d: -f1)
      [ -n "$found" ] && { echo "$found"; return; }
    done
  done
}
needed=$(objdump -p "$bin" | awk '/NEEDED/ { print $2 }')
check "program needs libraries" "$([ -n "$needed" ] && echo yes)" yes
for lib in $needed; do
  path=$(ldd "$bin" | awk -v l="$lib" '$1 == l { print $3 }')
  pkg=$(owner "$path")
  check "$lib ($pkg) in Depends" "$([ -n "$pkg" ] && [[ "$depend_names" == *" $pkg "* ]] && echo yes)" yes
done
met() {  # one group: "a (>= 1) | b"
  local alt name op want have
  IFS='|' read -ra alts <<<"$1"
  for alt in "${alts[@]}"; do
    read -r name op want <<<"$(printf '%s' "$alt" | tr -d '()')"
    have=$(dpkg-query -W -f='${db:Status-Abbrev}|${Version}' "$name:$arch" 2>/dev/null ||
           dpkg-query -W -f='${db:Status-Abbrev}|${Version}' "$name" 2>/dev/null)
    [[ "$have" == ii* ]] || continue
    [ -z "$op" ] && return 0
    dpkg --compare-versions "${have#*|}" "$op" "$want" && return 0
  done
  return 1
}
IFS=',' read -ra groups <<<"$depends"
check "Depends groups" "$([ ${#groups[@]} -ge 5 ] && echo 'five or more')" "five or more"
for group in "${groups[@]}"; do
  check "installed:$group" "$(met "$group" && echo met)" met
done

# It starts, shows its dialog, and Escape ends it with 0.
if [ -z "${DISPLAY:-}" ]; then
  check "DISPLAY for the run check" "" "set"
else
  "$bin" &
  pid=$!
  win=""
  for _ in $(seq 100); do
    win=$(xdotool search --pid "$pid" --name '^Arrowbench$' 2>/dev/null | head -n1)
    [ -n "$win" ] && break
    sleep 0.1
  done
  check "installed program shows its dialog" "$([ -n "$win" ] && echo yes)" yes
  if [ -n "$win" ]; then
    sleep 0.3
    xdotool mousemove --sync --window "$win" 119 15 click 1  # into V1
    xdotool key Escape
  fi
  for _ in $(seq 100); do kill -0 $pid 2>/dev/null || break; sleep 0.05; done
  if kill -0 $pid 2>/dev/null; then
    check "installed program exited after Escape" running exited
    kill $pid
  else
    wait $pid
    check "installed program exit code" "$?" 0
  fi
fi

# Icons: PNGs of their directory's size, drawn by res/make_icon.py, whose
# .ico is the checked-in res/main_icon.ico (so both come from one artwork).
# The script writes its .ico beside itself, so it runs from a copy.
fresh=$work/icons
mkdir -p "$fresh"
cp "$src/res/make_icon.py" "$fresh/"
check_run "make_icon.py --png" python3 "$fresh/make_icon.py" --png "$fresh"
check_run "res/main_icon.ico is what make_icon.py draws" cmp "$fresh/main_icon.ico" "$src/res/main_icon.ico"
for size in 16 32 48 256; do
  png=$root/usr/share/icons/hicolor/${size}x${size}/apps/arrowbench.png
  check "icon ${size}x${size}" "$(file -b "$png" | cut -d, -f1-2)" "PNG image data, $size x $size"
  check_run "icon ${size}x${size} is make_icon.py's" cmp "$png" "$fresh/arrowbench-$size.png"
done

# Desktop entry.
desktop=$root/usr/share/applications/arrowbench.desktop
check_run "desktop-file-validate" desktop-file-validate "$desktop"
declare -A ENTRY=([Type]=Application [Name]=Arrowbench [Exec]=arrowbench [Icon]=arrowbench
  [Categories]="Education;Math;" [Terminal]=false [StartupWMClass]=arrowbench)
for key in "${!ENTRY[@]}"; do
  check "desktop $key" "$(sed -n "s/^$key=//p" "$desktop")" "${ENTRY[$key]}"
done
check "desktop Exec is in the package" "$([ -x "$root/usr/bin/$(sed -n 's/^Exec=//p' "$desktop" | cut -d' ' -f1)" ] && echo yes)" yes

# AppStream metadata: valid on its own and together with the desktop entry.
metainfo=$root/usr/share/metainfo/org.arrowbench.arrowbench.metainfo.xml
check_run "appstreamcli validate" appstreamcli validate --no-net --pedantic "$metainfo"
check_run "appstreamcli validate-tree" appstreamcli validate-tree --no-net "$root"
check "metainfo id is its file name" "$(sed -n 's:.*<id>\(.*\)</id>.*:\1:p' "$metainfo").metainfo.xml" "$(basename "$metainfo")"
check "metainfo launchable" "$(sed -n 's:.*<launchable type="desktop-id">\(.*\)</launchable>.*:\1:p' "$metainfo")" arrowbench.desktop
check "metainfo release" "$(sed -n 's:.*<release version="\([^"]*\)".*:\1:p' "$metainfo")" "$version"

# The changelog and the manual page: gzipped with no name and no time in the
# header, at maximum compression (1f 8b, deflate, no flags, time 0, XFL 2, Unix).
doc=$root/usr/share/doc/arrowbench
man=$root/usr/share/man/man1/arrowbench.1.gz
for gz in "$doc/changelog.gz" "$man"; do
  check "$(basename "$gz") header" "$(head -c 10 "$gz" | od -An -tx1 | tr -d ' \n')" 1f8b0800000000000203
done
check_run "changelog is the tree's" cmp <(zcat "$doc/changelog.gz") "$src/packaging/changelog"
check "changelog's latest version" "$(zcat "$doc/changelog.gz" | sed -n '1s/^arrowbench (\([^)]*\)).*/\1/p')" "$version"
release_date=$(date -u +%F -d "$(zcat "$doc/changelog.gz" | sed -n 's/^ -- .*>  //p' | head -n1)")
check "metainfo release date is the changelog's" \
  "$(sed -n 's:.*<release version="[^"]*" date="\([^"]*\)".*:\1:p' "$metainfo")" "$release_date"
check "man page title" "$(zcat "$man" | sed -n 's/^\.TH \(ARROWBENCH 1 [^ ]*\) "\([^"]*\)".*/\1 \2/p')" \
  "ARROWBENCH 1 $release_date Arrowbench $version"
check "man page renders without warnings" "$(MANWIDTH=80 man --warnings -l "$man" 2>&1 >/dev/null)" ""
check "man page NAME" "$(MANWIDTH=80 man -l "$man" 2>/dev/null | sed -n '/^NAME/{n;p}' | sed 's/^ *//')" \
  "arrowbench - arithmetic on 3D vectors with a live OpenGL view"

check_run "licence" cmp "$doc/copyright" "$src/LICENSE"

check_repack "$build" "$(basename "$deb")"

check_exit
