#!/usr/bin/env bash
# Starts the built Tintora under Wine in its own 32-bit prefix (kept between runs, so settings
# persist). Without an X display it runs on a private Xvfb, saves a screenshot of the window,
# closes the program and prints where the picture is.
#   run.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
exe=$build/tintora.exe

export WINEPREFIX=${TINTORA_WINEPREFIX:-$build/run-prefix} WINEARCH=win32 WINEDEBUG=-all

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  "$here/wine-prefix.sh" "$WINEPREFIX" managed
  cd "$build" && exec wine "$exe"
fi

env_dir=$build/run-env
"$here/xvfb-start.sh" "$env_dir"
export DISPLAY=:$(cat "$env_dir/display")
cleanup() {
  wineserver -k 2>/dev/null || true
  kill "$(cat "$env_dir/xvfb.pid")" 2>/dev/null || true
  rm -f "$env_dir/xvfb.pid" "$env_dir/display"
}
trap cleanup EXIT

"$here/wine-prefix.sh" "$WINEPREFIX" bare
(cd "$build" && wine "$exe" >/dev/null 2>&1) &
app=$!

if ! window=$(timeout 60 xdotool search --sync --onlyvisible --name '^Ostrel Tintora$' | head -n 1) \
   || [ -z "$window" ]; then
  echo "run: the Tintora window did not appear" >&2
  exit 1
fi
sleep 2   # let the dialog finish painting
eval "$(xdotool getwindowgeometry --shell "$window")"
shot=$build/tintora.png
import -display "$DISPLAY" -window root -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" +repage "$shot"

wine "$build/tintora_remote.exe" close >/dev/null 2>&1 || true
for _ in $(seq 1 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
echo "Tintora ran on a private X display; screenshot: $shot"
