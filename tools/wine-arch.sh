#!/usr/bin/env bash
# Wine for one architecture of the program, called directly. Debian's `wine` wrapper (and
# wineboot and the other launchers through it) takes the 32-bit loader whenever wine32 is
# installed, even where the kernel cannot run it.
#
# Sourced:  . tools/wine-arch.sh
#   wine_arch_bits x86|x64  prints 32 or 64
#   use_wine_arch x86|x64   exports WINEARCH, WINELOADER (the loader to run) and WINESERVER
#   wine_arch_runs x86|x64  whether this host runs that loader (it is run, not looked up);
#                           when not, prints why on one line
# Run:      tools/wine-arch.sh pick   prints the architecture `make run` and `make bench` use:
#                                     x86 where this host runs it, else x64; fails, saying
#                                     why, where it runs neither

wine_loader_of() {
  case $1 in
    x86) echo /usr/lib/wine/wine ;;
    x64) echo /usr/lib/wine/wine64 ;;
    *) echo "wine-arch: no architecture '$1' (x86 or x64)" >&2; return 2 ;;
  esac
}

wine_arch_bits() {
  if [ "$1" = x86 ]; then echo 32; else echo 64; fi
}

use_wine_arch() {
  WINELOADER=$(wine_loader_of "$1") || return
  case $1 in
    x86) WINEARCH=win32 ;;
    x64) WINEARCH=win64 ;;
  esac
  # One server serves both kinds of prefix; the 64-bit one also where no 32-bit code runs.
  WINESERVER=/usr/lib/wine/wineserver64
  [ -x "$WINESERVER" ] || WINESERVER=/usr/lib/wine/wineserver32
  export WINEARCH WINELOADER WINESERVER
}

wine_arch_runs() {
  local loader bits package out
  loader=$(wine_loader_of "$1") || return
  bits=$(wine_arch_bits "$1")
  if [ "$1" = x86 ]; then package=wine32:i386; else package=wine64; fi
  if [ ! -x "$loader" ]; then
    echo "Wine's $bits-bit loader $loader is not installed (package $package): the $bits-bit program was built and checked, not run"
    return 1
  fi
  if ! out=$("$loader" --version 2>&1 </dev/null); then
    # The shell's own words on the failed start, without its script and line prefix.
    out=$(tr '\n' ' ' <<<"$out" | sed 's/ *$//')
    out=${out##*"$loader": }
    echo "this host runs no $bits-bit code: the $bits-bit program was built and checked, not run ($loader: ${out:-it exits with an error})"
    return 1
  fi
  return 0
}

if [ "${BASH_SOURCE[0]}" = "$0" ]; then
  set -uo pipefail
  case ${1:-} in
    pick)
      if why32=$(wine_arch_runs x86); then echo x86; exit 0; fi
      if why64=$(wine_arch_runs x64); then
        echo "wine-arch: ${why32%%: the *}; the 64-bit program is used" >&2
        echo x64; exit 0
      fi
      echo "wine-arch: this host runs no Wine program:" >&2
      echo "  $why32" >&2
      echo "  $why64" >&2
      exit 1
      ;;
    *)
      echo "usage: $0 pick" >&2; exit 2 ;;
  esac
fi
