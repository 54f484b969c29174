#!/usr/bin/env bash
# Creates a 32-bit Wine prefix once (no Mono/Gecko prompts) and prepares it for the display.
#   wine-prefix.sh PREFIX [bare]      (DISPLAY must be set)
# "bare": the X server runs no window manager (our private Xvfb), so Wine draws the frames
# itself and does not wait for a manager whenever a window is shown or hidden.
set -euo pipefail
export WINEPREFIX=$1 WINEARCH=win32 WINEDEBUG=-all
mode=${2:-managed}
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/.tintora-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree=d;mshtml=d" wineboot -i >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tintora-ready"
fi
if [ "$(cat "$WINEPREFIX/.tintora-ready")" != "$mode" ]; then
  key='HKCU\Software\Wine\X11 Driver'
  if [ "$mode" = bare ]; then
    wine reg add "$key" /v Decorated /d N /f >/dev/null 2>&1
    wine reg add "$key" /v Managed /d N /f >/dev/null 2>&1
  else
    wine reg delete "$key" /v Decorated /f >/dev/null 2>&1 || true
    wine reg delete "$key" /v Managed /f >/dev/null 2>&1 || true
  fi
  # Programs read these at their start: let the ones started by `reg` (the desktop among them)
  # end before anything else runs.
  wineserver -w
  echo "$mode" > "$WINEPREFIX/.tintora-ready"
fi
# Debian's 32-bit-only Wine does not find its own fonts (Tahoma for "MS Shell Dlg", Marlett for
# the caption buttons); the prefix's Fonts folder is always searched, so link them there.
fonts=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$fonts"
for f in /usr/share/wine/fonts/*.ttf; do
  [ -e "$fonts/$(basename "$f")" ] || ln -s "$f" "$fonts/"
done
