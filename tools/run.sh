#!/usr/bin/env bash
# Starts the built Tintora under Wine in a prefix of its architecture (kept between runs, so
# settings persist). Without an X display it runs on a private Xvfb, saves a screenshot of the
# window, closes the program and prints where the picture is.
#   run.sh BUILD_DIR x86|x64
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=$(cd "$1" && pwd)
arch=$2
exe=$build/tintora.exe
. "$here/wine-arch.sh"
use_wine_arch "$arch"

export WINEPREFIX=${TINTORA_WINEPREFIX:-$build/run-prefix} WINEDEBUG=-all
echo "run: the $(wine_arch_bits "$arch")-bit program ($exe)"

if [ -n "${DISPLAY:-}" ] && xdotool getdisplaygeometry >/dev/null 2>&1; then
  "$here/wine-prefix.sh" "$WINEPREFIX" "$arch" managed
  cd "$build" && exec "$WINELOADER" "$exe"
fi

env_dir=$build/run-env
"$here/xvfb-start.sh" "$env_dir"
export DISPLAY=:$(cat "$env_dir/display")
cleanup() {
  "$WINESERVER" -k 2>/dev/null || true
  kill "$(cat "$env_dir/xvfb.pid")" 2>/dev/null || true
  rm -f "$env_dir/xvfb.pid" "$env_dir/display"
}
trap cleanup EXIT

"$here/wine-prefix.sh" "$WINEPREFIX" "$arch" bare
(cd "$build" && "$WINELOADER" "$exe" >/dev/null 2>&1) &
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

"$WINELOADER" "$build/tintora_remote.exe" close >/dev/null 2>&1 || true
for _ in $(seq 1 100); do
  kill -0 "$app" 2>/dev/null || break
  sleep 0.1
done
echo "Tintora ran on a private X display; screenshot: $shot"
