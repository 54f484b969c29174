#!/usr/bin/env bash
# Builds the colour layer's fuzzers (tests/fuzz) natively with clang into a folder of their own and
# runs each from its seed corpus for FUZZ_SECONDS (600 by default), one after the other.
#   fuzz.sh [BUILD_DIR]          (BUILD_DIR defaults to build/fuzz)
# New inputs go to BUILD_DIR/work/<target>, never into the seed corpus; an input that crashes or
# trips a sanitizer is saved in BUILD_DIR/artifacts/<target>/ and fails the target. Each target's
# whole output stays in BUILD_DIR/logs/<target>.log. Prints one line per target,
#   fuzz <target>: passed|FAILED|skipped ...
# Exits 0 when every target ran and found nothing, 77 when this host has no clang with the
# libFuzzer runtime (nothing ran), 1 otherwise. FUZZ_CXX names another clang++.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(cd "$here/.." && pwd)
source_dir=$root/tests/fuzz
build=${1:-$root/build/fuzz}
mkdir -p "$build" && build=$(cd "$build" && pwd)
seconds=${FUZZ_SECONDS:-600}
export CC=${FUZZ_CC:-clang} CXX=${FUZZ_CXX:-clang++}

# One target per harness source.
targets=()
for source in "$source_dir"/*.cpp; do
  targets+=("$(basename "$source" .cpp)")
done

# The runtime is a separate package from the compiler: link a trivial fuzzer to know.
probe=$build/probe
mkdir -p "$probe"
printf '%s\n' '#include <cstddef>' '#include <cstdint>' \
  'extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }' >"$probe/probe.cpp"
if ! "$CXX" -fsanitize=fuzzer,address,undefined "$probe/probe.cpp" -o "$probe/probe" \
    >"$probe/probe.log" 2>&1; then
  for target in "${targets[@]}"; do
    echo "fuzz $target: skipped (no clang libFuzzer)"
  done
  exit 77
fi

mkdir -p "$build/logs"
echo "== fuzz: building in $build"
if ! { cmake -S "$source_dir" -B "$build" -DCMAKE_BUILD_TYPE= >/dev/null &&
       cmake --build "$build" -j "$(nproc)"; } >"$build/logs/build.log" 2>&1; then
  cat "$build/logs/build.log"
  for target in "${targets[@]}"; do
    echo "fuzz $target: FAILED (the build failed; see $build/logs/build.log)"
  done
  exit 1
fi

# The last value libFuzzer printed for a field, e.g. "cov:" in its status lines.
last_field() {
  local value
  value=$(grep -oE "$1 [0-9]+" "$2" | tail -n 1 | awk '{print $2}')
  echo "${value:-?}"
}

status=0
results=()
for target in "${targets[@]}"; do
  if [ ! -x "$build/$target" ]; then
    results+=("fuzz $target: FAILED (not built)")
    status=1
    continue
  fi
  work=$build/work/$target
  artifacts=$build/artifacts/$target
  log=$build/logs/$target.log
  mkdir -p "$work" "$artifacts"
  options=(-max_total_time="$seconds" -print_final_stats=1 -artifact_prefix="$artifacts/"
           -error_exitcode=1 -timeout_exitcode=1)
  # A hang guard per input, not a speed limit: one input takes microseconds.
  options+=(-timeout=30)
  [ -f "$source_dir/$target.dict" ] && options+=(-dict="$source_dir/$target.dict")
  echo "== fuzz $target: ${seconds} s"
  # The first folder receives the new inputs; the seeds are only read.
  "$build/$target" "${options[@]}" "$work" "$source_dir/corpus/$target" >"$log" 2>&1
  rc=$?
  runs=$(grep -oE 'stat::number_of_executed_units: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  speed=$(grep -oE 'stat::average_exec_per_sec: *[0-9]+' "$log" | grep -oE '[0-9]+$')
  figures="${runs:-?} runs, ${speed:-?} exec/s, cov: $(last_field cov: "$log") ft: $(last_field ft: "$log")"
  if [ "$rc" -eq 0 ]; then
    results+=("fuzz $target: passed, $figures, nothing found")
  else
    status=1
    # What the sanitizer or the check said, and the input that did it.
    grep -E 'check failed|ERROR: |runtime error|SUMMARY|deadly signal|in LLVMFuzzerTestOneInput|Test unit written' "$log" | head -n 20
    for input in $(grep -oE 'Test unit written to [^ ]+' "$log" | awk '{print $5}'); do
      echo "input $input:"
      python3 -c 'import sys; print(repr(open(sys.argv[1], "rb").read()))' "$input"
    done
    results+=("fuzz $target: FAILED (exit $rc), $figures, see $log")
  fi
done
printf '%s\n' "${results[@]}"
exit "$status"
