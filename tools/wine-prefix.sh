#!/usr/bin/env bash
# Creates a Wine prefix for one architecture once (no Mono/Gecko prompts) and prepares it for the
# display: 32-bit (win32) for x86, 64-bit (win64) for x64.
#   wine-prefix.sh PREFIX x86|x64 [managed|bare|two-monitors]      (DISPLAY must be set)
# "bare": the X server runs no window manager (our private Xvfb), so Wine draws the frames
# itself and does not wait for a manager whenever a window is shown or hidden.
# "two-monitors": bare, on the Xorg of tools/xorg-start.sh, whose monitors Wine must see one by
# one.
set -euo pipefail
. "$(dirname "$0")/wine-arch.sh"
use_wine_arch "$2"
export WINEPREFIX=$1 WINEDEBUG=-all
mode=${3:-managed}

# Ends the prefix's server and every program still running in it, now. The server writes the
# registry as it ends. Waiting for them instead costs many seconds: the services a start leaves
# behind end by themselves only after long timeouts.
end_all() {
  "$WINESERVER" -k 2>/dev/null || true
  "$WINESERVER" -w
}

if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/.tintora-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  if ! WINEDLLOVERRIDES="mscoree=d;mshtml=d;winemenubuilder.exe=d" "$WINELOADER" wineboot -i >/dev/null 2>&1; then
    echo "wine-prefix: $WINELOADER wineboot -i failed for $WINEPREFIX" >&2
    exit 1
  fi
  # Its server still runs, so the settings below cost no second start.
  touch "$WINEPREFIX/.tintora-ready"
fi
if [ "$(cat "$WINEPREFIX/.tintora-ready")" != "$mode" ]; then
  key='HKCU\Software\Wine\X11 Driver'
  set_value() { "$WINELOADER" reg add "$key" /v "$1" /d "$2" /f >/dev/null 2>&1; }
  if [ "$mode" = managed ]; then
    for name in Decorated Managed UseXRandR UseXVidMode; do
      "$WINELOADER" reg delete "$key" /v "$name" /f >/dev/null 2>&1 || true
    done
  else
    set_value Decorated N
    set_value Managed N
    if [ "$mode" = two-monitors ]; then
      # Wine reports one monitor per Xinerama screen only without XRandR; and its XF86VidMode
      # handler fails on the two dummy screens and takes the desktop process down with it.
      set_value UseXRandR N
      set_value UseXVidMode N
    fi
  fi
  echo "$mode" > "$WINEPREFIX/.tintora-ready"
fi
# Programs read these settings at their start: whatever runs in the prefix now (the desktop
# among them) ends before anything else starts.
end_all
# Debian's Wine does not find its own fonts (Tahoma for "MS Shell Dlg", Marlett for
# the caption buttons); the prefix's Fonts folder is always searched, so link them there.
fonts=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$fonts"
for f in /usr/share/wine/fonts/*.ttf; do
  [ -e "$fonts/$(basename "$f")" ] || ln -s "$f" "$fonts/"
done
