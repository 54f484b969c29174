#!/usr/bin/env bash
# Starts a private Xvfb on a free display and records its number and process id in DIR.
#   xvfb-start.sh DIR
set -euo pipefail
dir=$1
mkdir -p "$dir"
rm -f "$dir/display" "$dir/xvfb.pid"
fifo=$(mktemp -u)
mkfifo "$fifo"
# -displayfd lets the server choose a free display number and report it when ready.
setsid Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fifo" >/dev/null 2>&1 < /dev/null &
echo $! > "$dir/xvfb.pid"
if ! read -r -t 20 num < "$fifo"; then
  rm -f "$fifo"
  echo "xvfb-start: Xvfb did not start" >&2
  exit 1
fi
rm -f "$fifo"
echo "$num" > "$dir/display"
