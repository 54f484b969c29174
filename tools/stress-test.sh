#!/usr/bin/env bash
# Runs the whole test suite several times while every CPU is kept busy, and reports each run's
# result and the slowest end-to-end tests: the suite must not depend on the machine being idle.
#   stress-test.sh [-n RUNS] [-p NICE] [-j LOADERS] [-t NICE] [BUILD_DIR]
# BUILD_DIR is one architecture's folder (build/x86 or build/x64; by default the one this host runs).
# RUNS defaults to 3; the load is one busy shell loop per CPU (LOADERS, default nproc) at
# niceness -p (default 19: low priority; 0 competes as an equal). -t runs the suite itself at
# that niceness (default 0); above the loops' it gets a CPU only when they leave one. Exits
# non-zero when a run failed. Each run's full output stays in BUILD_DIR/stress/run-N.log.
set -uo pipefail
runs=3 niceness=19 loaders=$(nproc) test_niceness=0
while getopts "n:p:j:t:" opt; do
  case $opt in
    n) runs=$OPTARG ;;
    p) niceness=$OPTARG ;;
    j) loaders=$OPTARG ;;
    t) test_niceness=$OPTARG ;;
    *) echo "usage: $0 [-n RUNS] [-p NICE] [-j LOADERS] [-t NICE] [BUILD_DIR]" >&2; exit 2 ;;
  esac
done
shift $((OPTIND - 1))
here=$(cd "$(dirname "$0")" && pwd)
# One architecture's build folder: by default the one `make run` would run.
if [ $# -gt 0 ]; then
  build=$1
else
  arch=$(bash "$here/wine-arch.sh" pick) || exit 1
  build=$here/../build/$arch
fi

# Built before the load starts: what is measured is the tests, not the compiler.
if [ ! -f "$build/CMakeCache.txt" ]; then
  make -C "$here/.." build >/dev/null || { echo "stress-test: the build failed" >&2; exit 1; }
fi
cmake --build "$build" >/dev/null || { echo "stress-test: the build failed" >&2; exit 1; }
build=$(cd "$build" && pwd)
logs=$build/stress
mkdir -p "$logs"

pids=()
stop_load() {
  [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null
  pids=()
}
trap stop_load EXIT
for ((i = 0; i < loaders; i++)); do
  nice -n "$niceness" sh -c 'while :; do :; done' &
  pids+=($!)
done
echo "stress-test: $runs runs with $loaders busy loops at niceness $niceness on $(nproc) CPUs," \
  "the suite at niceness $test_niceness"

failed=0
for ((run = 1; run <= runs; run++)); do
  log=$logs/run-$run.log
  start=$(date +%s)
  (cd "$build" && nice -n "$test_niceness" ctest -V) > "$log" 2>&1
  status=$?
  seconds=$(($(date +%s) - start))
  if [ $status -eq 0 ]; then
    echo "run $run: passed in ${seconds} s"
  else
    failed=$((failed + 1))
    echo "run $run: FAILED in ${seconds} s ($log)"
    grep -E '^[0-9]+: +[^ ].*:[0-9]+: |^[0-9]+: \[  FAILED  \]' "$log" |
      sed 's/^[0-9]*: /    /' | head -n 20
  fi
  # ctest's own line per test, then the three slowest end-to-end tests: GoogleTest's closing
  # line of each, from every test executable but the unit tests.
  grep -E '^ *[0-9]+/[0-9]+ Test +#' "$log" | sed -E 's/^ *[0-9]+\/[0-9]+ Test +#[0-9]+: /    /'
  unit=$(grep -E '^ *[0-9]+/[0-9]+ Test +#[0-9]+: unit_tests ' "$log" | sed -E 's/.*#([0-9]+):.*/\1/')
  grep -E '^[0-9]+: \[ +(OK|FAILED) +\] .* \([0-9]+ ms\)$' "$log" | grep -v "^${unit:-none}: " |
    sed -E 's/^[0-9]+: \[ +(OK|FAILED) +\] (.*) \(([0-9]+) ms\)$/\3 ms  \2/' | sort -rn | head -n 3 |
    sed 's/^/    slowest: /'
done
stop_load
echo "stress-test: $((runs - failed)) of $runs runs passed"
[ $failed -eq 0 ]
