#!/usr/bin/env bash
# Runs the one test suite in each build folder given (one per architecture), then says for each
# what ran and what this host could not run, and closes with the counts over all of them.
#   test-all.sh BUILD_DIR...
# Fails when any test failed, or when no architecture's programs could be run at all.
set -uo pipefail
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

echo
echo "== what ran"
printf '%s\n' "${summary[@]}"
if [ "$ran_programs" -eq 0 ]; then
  echo "test-all: no architecture's programs ran on this host" >&2
  status=1
fi
echo "tintora: $passed passed, $failed failed, $skipped skipped"
exit "$status"
