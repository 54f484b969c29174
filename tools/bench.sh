#!/usr/bin/env bash
# Runs the benchmark in a private test environment of the build folder.
#   bench.sh BUILD_DIR [fill_bench arguments]
# The dialog steps are measured twice: with the X server, the wineserver and the program where
# the scheduler puts them, then with all three on one CPU. Under Wine a dialog step is mostly
# requests to the wineserver, and on a virtual machine a request that wakes the server on
# another CPU costs several times one that stays on the same CPU; the two runs show both.
set -uo pipefail
build=$(cd "$1" && pwd)
shift
here=$(cd "$(dirname "$0")" && pwd)
env_dir=$build/test-env
export TINTORA_TEST_ENV=$env_dir

# run LABEL PLACEMENT... -- ARGS...: PLACEMENT prefixes the environment's start and the program,
# so Xvfb and the wineserver inherit it too.
run() {
  local label=$1 placement=()
  shift
  while [ "$1" != -- ]; do placement+=("$1"); shift; done
  shift
  echo "== $label"
  "${placement[@]}" "$here/test-env.sh" start "$env_dir" >/dev/null || return 1
  "${placement[@]}" "$here/wine-run.sh" "$build/fill_bench.exe" "$@"
  local rc=$?
  "$here/test-env.sh" stop "$env_dir"
  return $rc
}

run "placed by the scheduler" env -- "$@" || exit 1
if command -v taskset >/dev/null && [ "$(nproc)" -gt 1 ]; then
  run "X server, wineserver and program on CPU 0" taskset -c 0 -- --steps-only "$@" || exit 1
fi
