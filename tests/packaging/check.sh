# Check helpers for the packaging tests (sourced). Like tests/check.h: a
# failed check prints what and why, the run goes on, and check_exit prints
# "N passed, N failed" and gives the exit status. Also the two steps both
# package tests share: cpack into a fresh folder, and cpack once more on
# another file system to compare.
passed=0
failed=0

check() {  # WHAT GOT EXPECTED
  if [ "$2" == "$3" ]; then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $1: got '$2', expected '$3'"
  fi
}

check_run() {  # WHAT COMMAND... : the command must succeed; its output is shown if not
  local what=$1 out
  shift
  if out=$("$@" 2>&1); then
    passed=$((passed + 1))
  else
    failed=$((failed + 1))
    echo "FAIL $what: '$*' failed:"
    printf '%s\n' "$out" | sed 's/^/    /'
  fi
}

check_exit() {
  echo "$passed passed, $failed failed"
  [ "$failed" -eq 0 ] && [ "$passed" -gt 0 ]
}

# cpack BUILD_DIR's package into $work/out, with $work = BUILD_DIR/packaging-test
# made anew; stops the test if PACKAGE (a name in $work/out) was not made.
make_package() {  # BUILD_DIR PACKAGE
  work=$1/packaging-test
  rm -rf "$work"
  mkdir -p "$work"
  check_run "cpack" cpack --config "$1/CPackConfig.cmake" -B "$work/out"
  [ -f "$work/out/$2" ] || { echo "FAIL no $2; cpack made: $(ls "$work/out")"; check_exit; exit 1; }
}

# The same tree packed again, on another file system where there is one
# (directory sizes and read order differ there), must give the same bytes.
check_repack() {  # BUILD_DIR PACKAGE
  local other
  other=$(mktemp -d -p /dev/shm 2>/dev/null || mktemp -d)
  check_run "second cpack" cpack --config "$1/CPackConfig.cmake" -B "$other"
  check_run "second $2 is the same" cmp "$work/out/$2" "$other/$2"
  rm -rf "$other"
}
