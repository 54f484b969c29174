#!/usr/bin/env bash
# Starts or stops the private test environment of a build folder: an Xvfb display, a 32-bit Wine
# prefix kept in the build folder, and a persistent wineserver for the duration of the test run.
#   test-env.sh start|stop ENV_DIR [two-monitors]
# With two-monitors the display is an Xorg with two monitors side by side (tools/xorg-start.sh)
# instead; where this machine cannot run it, start exits 77 and leaves the mark "unavailable",
# for which tools/wine-run.sh exits 77 too.
set -uo pipefail
cmd=$1
env_dir=$(mkdir -p "$2" && cd "$2" && pwd)
screens=${3:-one}
here=$(cd "$(dirname "$0")" && pwd)

export WINEPREFIX=$env_dir/prefix WINEARCH=win32 WINEDEBUG=-all

stop() {
  if [ -f "$env_dir/display" ]; then
    DISPLAY=:$(cat "$env_dir/display") wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
  fi
  if [ -f "$env_dir/xvfb.pid" ]; then
    kill "$(cat "$env_dir/xvfb.pid")" 2>/dev/null
    rm -f "$env_dir/xvfb.pid"
  fi
  if [ -f "$env_dir/xorg.pid" ]; then
    kill "$(cat "$env_dir/xorg.pid")" 2>/dev/null
    rm -f "$env_dir/xorg.pid"
  fi
  rm -f "$env_dir/display" "$env_dir/unavailable"
}

case $cmd in
  start)
    stop
    if [ "$screens" = two-monitors ]; then
      "$here/xorg-start.sh" "$env_dir"
      status=$?
      if [ $status -eq 77 ]; then
        echo "no second monitor here: the two-monitor tests are skipped" > "$env_dir/unavailable"
        exit 77
      fi
      [ $status -eq 0 ] || exit 1
    else
      "$here/xvfb-start.sh" "$env_dir" || exit 1
    fi
    export DISPLAY=:$(cat "$env_dir/display")
    if [ "$screens" = two-monitors ]; then
      "$here/wine-prefix.sh" "$WINEPREFIX" two-monitors || exit 1
    else
      "$here/wine-prefix.sh" "$WINEPREFIX" bare || exit 1
    fi
    # Setting up the prefix may have started a server of its own; ours replaces it.
    wineserver -k 2>/dev/null
    wineserver -w 2>/dev/null
    # One wineserver for the whole run: each program start then costs far less. With
    # TINTORA_SERVER_TRACE set it writes every request to that file (for tools/count_requests.py).
    if [ -n "${TINTORA_SERVER_TRACE:-}" ]; then
      setsid wineserver -f -d1 -p >/dev/null 2>"$TINTORA_SERVER_TRACE" < /dev/null &
    else
      setsid wineserver -p >/dev/null 2>&1 < /dev/null &
    fi
    wine cmd /c exit 0 >/dev/null 2>&1
    echo "test environment: display $DISPLAY, prefix $WINEPREFIX"
    ;;
  stop)
    stop
    ;;
  *)
    echo "usage: $0 start|stop ENV_DIR" >&2; exit 2 ;;
esac
