#!/usr/bin/env bash
# Runs the benchmarks in a private test environment of the build folder.
#   bench.sh BUILD_DIR x86|x64 [fill_bench arguments]
# The dialog steps are measured twice: with the X server, the wineserver and the program where
# the scheduler puts them, then with all three on one CPU. Under Wine a dialog step is mostly
# requests to the wineserver, and on a virtual machine a request that wakes the server on
# another CPU costs several times one that stays on the same CPU; the two runs show both. A third
# run counts the requests of each step in a trace of the wineserver. After each of the first two,
# a pick from anywhere in a running Tintora, from its key to the still screen and the magnifier
# painted, and an arrow's step during it, beside the held grab's step. Then the start: Tintora
# against a dialog with the same frame and libraries and against its own bare template, placed
# and on one CPU, and with 5,000 saved colours.
set -uo pipefail
build=$(cd "$1" && pwd)
arch=$2
shift 2
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-arch.sh"
bits=$(wine_arch_bits "$arch")
echo "benchmarks of the $bits-bit program ($arch), under Wine's $bits-bit loader"
env_dir=$build/test-env
export TINTORA_TEST_ENV=$env_dir

one_cpu=()
if command -v taskset >/dev/null && [ "$(nproc)" -gt 1 ]; then
  one_cpu=(taskset -c 0)
fi

# run LABEL PLACEMENT... -- PROGRAM ARGS...: PLACEMENT prefixes the environment's start and the
# program, so Xvfb and the wineserver inherit it too.
run() {
  local label=$1 placement=()
  shift
  while [ "$1" != -- ]; do placement+=("$1"); shift; done
  shift
  echo "== $arch: $label"
  "${placement[@]}" "$here/test-env.sh" start "$env_dir" "$arch" >/dev/null || return 1
  "${placement[@]}" "$here/wine-run.sh" "$@"
  local rc=$?
  "$here/test-env.sh" stop "$env_dir"
  return $rc
}

picks=("$build/pick_bench.exe" --picks 30 --steps 50 "$build/tintora.exe")

# pick LABEL PLACEMENT...: the pick benchmark, where it was built.
pick() {
  local label=$1
  shift
  if [ ! -f "$build/pick_bench.exe" ]; then
    echo "== $arch: $label: pick_bench.exe is not built; skipped"
    return 0
  fi
  run "$label" "$@" -- "${picks[@]}"
}

starts=("$build/start_bench.exe" --runs 15 "$build/tintora.exe" "$build/reference_dialog.exe"
        "$build/template_dialog.exe")

run "placed by the scheduler" env -- "$build/fill_bench.exe" "$@" || exit 1
pick "pick from anywhere, placed by the scheduler" env || exit 1
if [ ${#one_cpu[@]} -gt 0 ]; then
  run "X server, wineserver and program on CPU 0" "${one_cpu[@]}" -- "$build/fill_bench.exe" --steps-only "$@" || exit 1
  pick "pick from anywhere, on CPU 0" "${one_cpu[@]}" || exit 1
fi

trace=$env_dir/server.trace
echo "== $arch: wineserver requests per step (median of a traced run)"
TINTORA_SERVER_TRACE=$trace "$here/test-env.sh" start "$env_dir" "$arch" >/dev/null || exit 1
"$here/wine-run.sh" "$build/fill_bench.exe" --mark-steps "$@" >/dev/null
"$here/test-env.sh" stop "$env_dir"
python3 "$here/count_requests.py" "$trace" || exit 1
rm -f "$trace"

run "start, placed by the scheduler" env -- "${starts[@]}" || exit 1
if [ ${#one_cpu[@]} -gt 0 ]; then
  run "start, on CPU 0" "${one_cpu[@]}" -- "${starts[@]}" || exit 1
fi
run "long saved list, placed by the scheduler" env -- \
  "$build/start_bench.exe" --runs 5 --saved-colors 5000 "$build/tintora.exe" || exit 1
