#!/usr/bin/env bash
# The About box library exports OstrelAbout only under its C++-decorated name, and the program
# imports it from the library by that name (so it is bound when the program is loaded).
#   check_about_exports.sh OBJDUMP ostrel_about.dll tintora.exe
set -uo pipefail
objdump=${1:-i686-w64-mingw32-objdump}
dll=$2
exe=$3
decorated=_Z11OstrelAboutP11OSTRELABOUT
failed=0

# The names in the export table: the lines "[ n] name" after "[Ordinal/Name Pointer] Table".
exports=$("$objdump" -p "$dll" | sed -n '/\[Ordinal\/Name Pointer\] Table/,/^$/p' |
          sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p')
echo "exports of $(basename "$dll"):"
echo "$exports" | sed 's/^/  /'

if ! grep -qx "$decorated" <<<"$exports"; then
  echo "FAIL: $decorated is not exported"; failed=1
fi
# Any other spelling of the name: plain, with an underscore, or stdcall-decorated.
if grep -E '^_?OstrelAbout(@[0-9]+)?$' <<<"$exports"; then
  echo "FAIL: an undecorated OstrelAbout is exported"; failed=1
fi
if [ "$(grep -c . <<<"$exports")" -ne 1 ]; then
  echo "FAIL: the library exports more than OstrelAbout"; failed=1
fi

# The program's import table: ostrel_about.dll's block names the decorated export.
imports=$("$objdump" -p "$exe" | awk '/DLL Name:/ { dll = tolower($3) } dll == "ostrel_about.dll" { print }')
if ! grep -q "$decorated" <<<"$imports"; then
  echo "FAIL: $(basename "$exe") does not import $decorated from ostrel_about.dll"; failed=1
fi

[ $failed -eq 0 ] && echo "ok"
exit $failed
