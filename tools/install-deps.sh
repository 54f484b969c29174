#!/usr/bin/env bash
# Installs what building, running and testing Tintora needs on Debian, only when something is
# missing: both MinGW-w64 toolchains, and Wine's 32-bit (wine32:i386) and 64-bit (wine64) loaders.
#   install-deps.sh [fuzz]
# With fuzz, only what `make fuzz` builds with instead: native clang and its runtime libraries
# (libFuzzer and the sanitizers come in a package of their own).
set -euo pipefail
mode=${1:-}

if [ "$mode" = fuzz ]; then
  packages=(cmake make python3 clang libclang-rt-dev)
else
  packages=(cmake make python3 mingw-w64 wine wine32:i386 wine64 libfreetype6:i386 fonts-wine
            xvfb fp-utils googletest imagemagick xdotool
            xserver-xorg-core xserver-xorg-video-dummy)
fi

missing=()
for p in "${packages[@]}"; do
  if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q 'install ok installed'; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

echo "install-deps: installing ${missing[*]}"
sudo=""
[ "$(id -u)" -ne 0 ] && sudo="sudo"
if [ "$mode" != fuzz ] && ! dpkg --print-foreign-architectures | grep -qx i386; then
  $sudo dpkg --add-architecture i386
fi
$sudo apt-get update -qq
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y -qq "${missing[@]}" >/dev/null
