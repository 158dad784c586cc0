#!/bin/bash
# The fuzz targets for a long time, outside CI: each grows its own corpus
# under build/fuzz-long/ from the checked-in seeds, then a coverage build
# (build/fuzz-cov) replays every corpus once and reports line coverage of
# the core. Everything runs niced; findings land in build/fuzz-long/crashes.
# Usage: tests/fuzz/long_run.sh [seconds per target, default 900] [target...]
set -uo pipefail
cd "$(dirname "$0")/../.."
secs=${1:-900}
shift || true
# The targets and their input lengths as ctest runs them: fuzz.cmake's
# arrowbench_fuzzer lines, so a new target is here without a second list.
declare -A max_len=()
all=()
while read -r t len; do
  max_len[$t]=$len
  all+=("$t")
done < <(sed -n 's/^arrowbench_fuzzer(\([a-z_]*\) \([0-9]*\)[ 0-9]*)$/\1 \2/p' tests/fuzz/fuzz.cmake)
targets=("$@")
[ ${#targets[@]} -gt 0 ] || targets=("${all[@]}")
for t in "${targets[@]}"; do
  [ -n "${max_len[$t]:-}" ] || { echo "long_run: no fuzz target $t; there are: ${all[*]}" >&2; exit 2; }
done

out=build/fuzz-long
mkdir -p "$out/crashes"
nice -n 19 cmake --preset asan >/dev/null && nice -n 19 cmake --build --preset asan || exit 1

status=0
for t in "${targets[@]}"; do
  mkdir -p "$out/corpus/$t"
  echo "$t: ${secs}s"
  nice -n 19 build/asan/tests/$t -max_total_time="$secs" -max_len="${max_len[$t]}" -print_final_stats=1 \
    -artifact_prefix="$out/crashes/$t-" "$out/corpus/$t" "tests/fuzz/corpus/$t" >"$out/$t.log" 2>&1 \
    || { echo "$t: FAILED, see $out/$t.log"; status=1; }
  grep -E '^#[0-9]+[[:space:]]+DONE' "$out/$t.log" | tail -1
  grep -E 'stat::(number_of_executed_units|average_exec_per_sec|peak_rss_mb)' "$out/$t.log"
done

# Line coverage: the same targets with clang's source-based coverage and
# no sanitizer, each corpus replayed once (-runs=0).
cov=build/fuzz-cov
nice -n 19 cmake -S . -B "$cov" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DCMAKE_C_COMPILER=clang-14 \
  -DCMAKE_CXX_COMPILER=clang++-14 -DARROWBENCH_CORE_ONLY=ON -DARROWBENCH_FUZZ_COVERAGE=ON >/dev/null || exit 1
nice -n 19 cmake --build "$cov" --target "${targets[@]}" || exit 1
rm -f "$cov"/*.profraw
objects=()
for t in "${targets[@]}"; do
  LLVM_PROFILE_FILE="$cov/$t.profraw" nice -n 19 "$cov/tests/$t" -runs=0 -max_len="${max_len[$t]}" \
    "$out/corpus/$t" "tests/fuzz/corpus/$t" >"$out/$t.cov.log" 2>&1
  objects+=(-object "$cov/tests/$t")
done
llvm-profdata-14 merge -sparse "$cov"/*.profraw -o "$cov/fuzz.profdata"
# Objects name their sources relative to the tree (-ffile-prefix-map); the
# report counts the core alone, not the test code linked in with it.
llvm-cov-14 report "${objects[@]:1}" -instr-profile="$cov/fuzz.profdata" -path-equivalence="./$cov/.,$PWD" \
  -ignore-filename-regex='(^|/)tests/|view/view\.h'
exit $status
