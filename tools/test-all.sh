#!/usr/bin/env bash
# Runs the one test suite in each build folder given (one per architecture), then says for each
# what ran and what this host could not run, and closes with the counts over all of them.
#   test-all.sh [--fuzz FUZZ_BUILD_DIR] BUILD_DIR...
# With --fuzz, then each fuzzer of tests/fuzz for FUZZ_SECONDS (tools/fuzz.sh), each counted as
# one test; skipped where clang's libFuzzer runtime is missing.
# Fails when any test failed, or when no architecture's programs could be run at all.
set -uo pipefail
here=$(cd "$(dirname "$0")" && pwd)
fuzz_build=""
if [ "${1:-}" = --fuzz ]; then
  fuzz_build=$2
  shift 2
fi
passed=0 failed=0 skipped=0 ran_programs=0 status=0
summary=()

for build in "$@"; do
  arch=$(basename "$build")
  log=$build/ctest.log
  echo "== $arch: ctest in $build"
  (cd "$build" && ctest --output-on-failure) 2>&1 | tee "$log"
  [ "${PIPESTATUS[0]}" -eq 0 ] || status=1
  # ctest's line per test: "n/N Test #k: name ....   Passed|***Skipped|***Failed ...".
  p=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .* Passed ' "$log")
  s=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#[0-9]+: .*\*\*\*Skipped ' "$log")
  t=$(grep -cE '^ *[0-9]+/[0-9]+ Test +#' "$log")
  passed=$((passed + p)) skipped=$((skipped + s)) failed=$((failed + t - p - s))
  if [ -f "$build/test-env/unavailable" ]; then
    summary+=("$arch: $p passed, $s skipped: $(cat "$build/test-env/unavailable")")
  else
    # The programs themselves ran here: the unit tests and the end-to-end drivers.
    grep -qE 'Test +#[0-9]+: unit_tests .* Passed ' "$log" && ran_programs=1
    summary+=("$arch: $p of $t passed, $s skipped")
  fi
done

if [ -n "$fuzz_build" ]; then
  mkdir -p "$fuzz_build"
  log=$fuzz_build/fuzz.log
  bash "$here/fuzz.sh" "$fuzz_build" 2>&1 | tee "$log"
  rc=${PIPESTATUS[0]}
  # fuzz.sh's line per target: "fuzz <target>: passed|FAILED|skipped ...".
  p=$(grep -cE '^fuzz [^ ]+: passed' "$log")
  f=$(grep -cE '^fuzz [^ ]+: FAILED' "$log")
  s=$(grep -cE '^fuzz [^ ]+: skipped' "$log")
  if [ "$rc" -ne 0 ] && [ "$rc" -ne 77 ] && [ "$f" -eq 0 ]; then
    f=1  # it stopped before saying which target
  fi
  passed=$((passed + p)) failed=$((failed + f)) skipped=$((skipped + s))
  if [ "$rc" -eq 77 ]; then
    summary+=("fuzz: $s skipped (no clang libFuzzer)")
  else
    [ "$rc" -eq 0 ] || status=1
    summary+=("fuzz: $p of $((p + f)) passed, ${FUZZ_SECONDS:-600} s each")
  fi
fi

echo
echo "== what ran"
printf '%s\n' "${summary[@]}"
if [ "$ran_programs" -eq 0 ]; then
  echo "test-all: no architecture's programs ran on this host" >&2
  status=1
fi
echo "tintora: $passed passed, $failed failed, $skipped skipped"
exit "$status"
