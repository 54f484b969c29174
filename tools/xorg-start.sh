#!/usr/bin/env bash
# Starts a private Xorg with two monitors side by side (tools/xorg-two-monitors.conf) on a free
# display and records its number and process id in DIR. Xvfb cannot do this: with +xinerama it
# puts every screen at (0, 0).
#   xorg-start.sh DIR
# Exits 77 when this machine cannot run Xorg for us: the dummy driver is not installed, or the
# server may only be started by root or from a console.
set -euo pipefail
dir=$1
here=$(cd "$(dirname "$0")" && pwd)
mkdir -p "$dir/xorg.conf.d"
rm -f "$dir/display" "$dir/xorg.pid"
if ! command -v Xorg >/dev/null || ! ls /usr/lib/xorg/modules/drivers/dummy_drv.so >/dev/null 2>&1; then
  echo "xorg-start: Xorg with the dummy driver is not installed (xserver-xorg-video-dummy)" >&2
  exit 77
fi
if [ "$(id -u)" -ne 0 ]; then
  echo "xorg-start: Xorg runs from here only as root" >&2
  exit 77
fi
fifo=$(mktemp -u)
mkfifo "$fifo"
# An empty configuration folder: nothing of the machine's own X set-up applies.
setsid Xorg -displayfd 3 -config "$here/xorg-two-monitors.conf" -configdir "$dir/xorg.conf.d" \
  -logfile "$dir/xorg.log" -noreset -nolisten tcp -novtswitch -sharevts \
  3>"$fifo" >/dev/null 2>&1 < /dev/null &
echo $! > "$dir/xorg.pid"
if ! read -r -t 30 num < "$fifo"; then
  rm -f "$fifo"
  echo "xorg-start: Xorg did not start (see $dir/xorg.log)" >&2
  exit 1
fi
rm -f "$fifo"
echo "$num" > "$dir/display"
