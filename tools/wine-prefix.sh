#!/usr/bin/env bash
# Creates a 32-bit Wine prefix once (no Mono/Gecko prompts) and lets Wine draw window frames,
# since the private X servers run no window manager.
#   wine-prefix.sh PREFIX      (DISPLAY must be set)
set -euo pipefail
export WINEPREFIX=$1 WINEARCH=win32 WINEDEBUG=-all
if [ ! -f "$WINEPREFIX/system.reg" ] || [ ! -f "$WINEPREFIX/.tintora-ready" ]; then
  echo "wine-prefix: creating $WINEPREFIX (once)"
  mkdir -p "$WINEPREFIX"
  WINEDLLOVERRIDES="mscoree=d;mshtml=d" wineboot -i >/dev/null 2>&1
  wine reg add 'HKCU\Software\Wine\X11 Driver' /v Decorated /d N /f >/dev/null 2>&1
  wineserver -w
  touch "$WINEPREFIX/.tintora-ready"
fi
# Debian's 32-bit-only Wine does not find its own fonts (Tahoma for "MS Shell Dlg", Marlett for
# the caption buttons); the prefix's Fonts folder is always searched, so link them there.
fonts=$WINEPREFIX/drive_c/windows/Fonts
mkdir -p "$fonts"
for f in /usr/share/wine/fonts/*.ttf; do
  [ -e "$fonts/$(basename "$f")" ] || ln -s "$f" "$fonts/"
done
