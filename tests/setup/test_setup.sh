#!/bin/bash
# Set-up's choices on machines it cannot be run on here: a stand-in apt-get,
# dpkg and dpkg-query on PATH keep a pretend package database, and a
# stand-in answers whether the kernel runs 32-bit code. Nothing is
# installed. Each case checks which packages set-up asks for, whether it
# goes on, which Windows trees then run their tests under Wine, and which
# of build/win32's tests the test command then selects (where that tree is
# configured): all of them, or none that needs Wine.
set -u
repo=$(cd "$(dirname "$0")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
mkdir "$work/bin"

# apt-get: FAKE_APT says what fails. "index": update fails on one index,
# every time; "i386": no i386 package can be had; "chromium": that one
# cannot. Every call is logged; what installs goes into the database.
cat > "$work/bin/apt-get" <<'STUB'
#!/bin/bash
echo "apt-get $*" >> "$STATE/log"
case $1 in
  update)
    [ "$FAKE_APT" = index ] && { echo "E: Failed to fetch .../binary-i386/Packages.xz  File has unexpected size (Mirror sync in progress?)" >&2; exit 100; }
    exit 0 ;;
  install)
    shift
    simulate=no
    pkgs=()
    for a in "$@"; do
      case $a in -s) simulate=yes ;; -*) ;; *) pkgs+=("$a") ;; esac
    done
    for p in "${pkgs[@]}"; do
      if { [ "$FAKE_APT" = i386 ] && [[ $p == *:i386 ]]; } || [ "$FAKE_APT:$p" = chromium:chromium ]; then
        echo "E: Package '$p' has no installation candidate" >&2; exit 100
      fi
    done
    [ $simulate = yes ] || printf '%s\n' "${pkgs[@]}" >> "$STATE/installed"
    exit 0 ;;
esac
exit 0
STUB
cat > "$work/bin/dpkg-query" <<'STUB'
#!/bin/bash
grep -qx -- "${@: -1}" "$STATE/installed" 2>/dev/null && { echo "ii "; exit 0; }
exit 1
STUB
cat > "$work/bin/dpkg" <<'STUB'
#!/bin/bash
echo "dpkg $*" >> "$STATE/log"
case $1 in
  --print-foreign-architectures) cat "$STATE/arches" 2>/dev/null ;;
  --add-architecture) echo "$2" >> "$STATE/arches" ;;
  --remove-architecture) grep -vx "$2" "$STATE/arches" > "$STATE/arches.new"; mv "$STATE/arches.new" "$STATE/arches" ;;
esac
STUB
printf '#!/bin/sh\necho 0\n' > "$work/bin/id"
chmod +x "$work/bin"/*

passed=0 failed=0
check() {  # what, condition...
  local what=$1; shift
  if "$@"; then passed=$((passed + 1)); else failed=$((failed + 1)); echo "FAIL [$name] $what"; fi
}
asked() { grep -q "^apt-get install .*$1" "$STATE/log"; }
log_has() { grep -q -- "$1" "$STATE/log"; }
no() { ! "$@"; }

# build/win32's tests as ctest selects them with the test command's filter:
# "SELECTED WINE-LABELLED TOTAL".
win32_tree=$repo/build/win32
selection() {  # filter...
  ctest --test-dir "$win32_tree" -N --show-only=json-v1 "$@" | python3 -c 'import json, sys
tests = json.load(sys.stdin)["tests"]
wine = [t for t in tests if any(p["name"] == "LABELS" and "wine" in p["value"] for p in t.get("properties", []))]
print(len(tests), len(wine), end=" ")'
}
[ -f "$win32_tree/CTestTestfile.cmake" ] && total=$(selection | cut -d" " -f1)

# name | kernel runs 32-bit code | what fails | exit | i386 asked for | i386 kept | Wine trees | win32 tests
while IFS='|' read -r name runs32 fails exit_code i386_asked i386_kept trees win32_tests; do
  export STATE=$work/$name FAKE_APT=$fails
  mkdir "$STATE" && touch "$STATE/arches"
  out=$(PATH="$work/bin:$PATH" RUNS_32_BIT_CHECK=$runs32 RETRY_PAUSE=0 "$repo/scripts/install.sh" all 2>&1)
  code=$?
  check "exit $code, expected $exit_code: $out" [ $code = "$exit_code" ]
  check "asks for the Linux, test and web packages" asked 'libfltk1.3-dev.*wine64.*chromium'
  if [ "$i386_asked" = yes ]; then
    check "asks for 32-bit Wine" asked 'wine32:i386'
  else
    check "asks for no i386 package" no log_has ':i386'
    check "adds no i386 architecture" no log_has 'add-architecture'
  fi
  check "i386 architecture kept: $i386_kept" [ "$(grep -cx i386 "$STATE/arches" 2>/dev/null)" = "$([ $i386_kept = yes ] && echo 1 || echo 0)" ]
  if [ "$exit_code" = 0 ]; then
    check "Wine trees '$trees'" grep -q "Windows tests run under Wine in: $trees\$" <<<"$out"
    got=$(PATH="$work/bin:$PATH" RUNS_32_BIT_CHECK=$runs32 "$repo/scripts/wine-trees.sh")
    check "wine-trees.sh says '$got', expected '$trees'" [ "$got" = "$trees" ]
    if [ -n "${total:-}" ]; then
      filter=$(PATH="$work/bin:$PATH" RUNS_32_BIT_CHECK=$runs32 "$repo/scripts/wine-trees.sh" --filter win32)
      read -r selected wine_selected <<<"$(selection $filter)"
      case $win32_tests in
        all) check "win32 tests: all $total selected, got $selected" [ "$selected" = "$total" ] ;;
        no-wine) check "win32 tests: $selected selected, $wine_selected of them need Wine" \
                   [ "$wine_selected" = 0 -a "$selected" -gt 0 -a "$selected" -lt "$total" ] ;;
      esac
    fi
  fi
  case $fails in
    index) check "update tried 3 times" [ "$(grep -c '^apt-get update' "$STATE/log")" = 3 ] ;;
    i386) check "says 32-bit Wine cannot be had" grep -q 'i386 packages of 32-bit Wine cannot be installed' <<<"$out" ;;
    chromium) check "names the package" grep -q 'cannot install chromium$' <<<"$out" ;;
  esac
done <<'CASES'
fine|true|none|0|yes|yes|win64 win32|all
index|true|index|0|yes|yes|win64 win32|all
i386-refused|true|i386|0|yes|no|win64|no-wine
no-32-bit-kernel|false|none|0|no|no|win64|no-wine
package-refused|false|chromium|1|no|no||
CASES

[ -n "${total:-}" ] || echo "note: $win32_tree is not configured: the win32 tests' selection was not checked"
echo "$passed passed, $failed failed"
[ $failed = 0 ]
