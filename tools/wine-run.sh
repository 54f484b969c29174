#!/usr/bin/env bash
# Runs a Windows program in the test environment that tools/test-env.sh started.
# CMake uses this as the emulator for every test executable.
set -euo pipefail
env_dir=${TINTORA_TEST_ENV:?TINTORA_TEST_ENV must name the test environment folder}
# An environment this machine could not set up (see test-env.sh): the test is skipped.
if [ -f "$env_dir/unavailable" ]; then
  cat "$env_dir/unavailable"
  exit 77
fi
. "$(dirname "$0")/wine-arch.sh"
use_wine_arch "$(cat "$env_dir/arch")"
export WINEPREFIX=$env_dir/prefix WINEDEBUG=-all
export DISPLAY=:$(cat "$env_dir/display")
exec "$WINELOADER" "$@"
