#!/usr/bin/env bash
# Starts or stops the private test environment of a build folder: an Xvfb display, a Wine prefix
# of the build's architecture kept in the build folder, and a persistent wineserver for the
# duration of the test run.
#   test-env.sh start ENV_DIR x86|x64 [two-monitors]
#   test-env.sh stop ENV_DIR
# With two-monitors the display is an Xorg with two monitors side by side (tools/xorg-start.sh)
# instead. Where this machine cannot run it, or cannot run the architecture's programs at all
# while it runs the other's, start exits 77 and leaves the reason in "unavailable", for which
# tools/wine-run.sh exits 77 too. A host that runs neither architecture fails here.
set -uo pipefail
cmd=$1
env_dir=$(mkdir -p "$2" && cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
. "$here/wine-arch.sh"

export WINEPREFIX=$env_dir/prefix WINEDEBUG=-all

stop() {
  if [ -f "$env_dir/display" ] && [ -f "$env_dir/arch" ]; then
    use_wine_arch "$(cat "$env_dir/arch")"
    DISPLAY=:$(cat "$env_dir/display") "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
  fi
  if [ -f "$env_dir/xvfb.pid" ]; then
    kill "$(cat "$env_dir/xvfb.pid")" 2>/dev/null
    rm -f "$env_dir/xvfb.pid"
  fi
  if [ -f "$env_dir/xorg.pid" ]; then
    kill "$(cat "$env_dir/xorg.pid")" 2>/dev/null
    rm -f "$env_dir/xorg.pid"
  fi
  rm -f "$env_dir/display"
}

# Marks the environment as one this host cannot give and says why; the tests run in it skip.
unavailable() {
  echo "$1" > "$env_dir/unavailable"
  echo "$1"
  exit 77
}

case $cmd in
  start)
    arch=$3
    screens=${4:-one}
    stop
    rm -f "$env_dir/unavailable"
    if ! why=$(wine_arch_runs "$arch"); then
      other=x64
      [ "$arch" = x64 ] && other=x86
      if ! why_other=$(wine_arch_runs "$other"); then
        echo "test-env: this host runs no Wine program of either architecture:" >&2
        echo "  $why" >&2
        echo "  $why_other" >&2
        exit 1
      fi
      unavailable "$why"
    fi
    use_wine_arch "$arch"
    echo "$arch" > "$env_dir/arch"
    if [ "$screens" = two-monitors ]; then
      "$here/xorg-start.sh" "$env_dir"
      status=$?
      if [ $status -eq 77 ]; then
        unavailable "no second monitor here: the two-monitor tests are skipped"
      fi
      [ $status -eq 0 ] || exit 1
    else
      "$here/xvfb-start.sh" "$env_dir" || exit 1
    fi
    export DISPLAY=:$(cat "$env_dir/display")
    if [ "$screens" = two-monitors ]; then
      "$here/wine-prefix.sh" "$WINEPREFIX" "$arch" two-monitors || exit 1
    else
      "$here/wine-prefix.sh" "$WINEPREFIX" "$arch" bare || exit 1
    fi
    # Setting up the prefix may have started a server of its own; ours replaces it.
    "$WINESERVER" -k 2>/dev/null
    "$WINESERVER" -w 2>/dev/null
    # One wineserver for the whole run: each program start then costs far less. With
    # TINTORA_SERVER_TRACE set it writes every request to that file (for tools/count_requests.py).
    if [ -n "${TINTORA_SERVER_TRACE:-}" ]; then
      setsid "$WINESERVER" -f -d1 -p >/dev/null 2>"$TINTORA_SERVER_TRACE" < /dev/null &
    else
      setsid "$WINESERVER" -p >/dev/null 2>&1 < /dev/null &
    fi
    if ! "$WINELOADER" cmd /c exit 0 >/dev/null 2>&1; then
      echo "test-env: $WINELOADER cannot run a program in $WINEPREFIX" >&2
      exit 1
    fi
    echo "test environment: $arch, display $DISPLAY, prefix $WINEPREFIX"
    ;;
  stop)
    stop
    # Nothing was started where the environment was unavailable: a skip, not a pass.
    if [ -f "$env_dir/unavailable" ]; then
      cat "$env_dir/unavailable"
      exit 77
    fi
    ;;
  *)
    echo "usage: $0 start ENV_DIR x86|x64 [two-monitors] | stop ENV_DIR" >&2; exit 2 ;;
esac
