#!/usr/bin/env bash
# The shipped program and library are Windows files of the build's architecture, marked for the
# oldest systems that architecture is for (x86: Windows 95, subsystem 4.0; x64: Windows XP x64,
# 5.2), and the program carries its manifest, naming the same architecture (or "*", any) wherever
# it names one.
#   check_program_format.sh OBJDUMP x86|x64 MANIFEST tintora.exe ostrel_about.dll
set -uo pipefail
objdump=$1 arch=$2 manifest=$3
shift 3
failed=0
case $arch in
  x86) magic="010b (PE32)" machine="i386" newest=400 assembly_arch=x86 ;;
  x64) magic="020b (PE32+)" machine="i386:x86-64" newest=502 assembly_arch=amd64 ;;
  *) echo "FAIL: no architecture '$arch'"; exit 1 ;;
esac

for file in "$@"; do
  name=$(basename "$file")
  headers=$("$objdump" -p "$file" 2>&1)
  field() { awk -v key="$1" '$1 == key { print $2; exit }' <<<"$headers"; }
  found_machine=$("$objdump" -f "$file" 2>&1 | sed -n 's/^architecture: \([^,]*\),.*/\1/p')
  subsystem=$(( $(field MajorSubsystemVersion) * 100 + $(field MinorSubsystemVersion) ))
  os=$(( $(field MajorOSystemVersion) * 100 + $(field MinorOSystemVersion) ))
  found_magic=$(grep -o 'Magic.*' <<<"$headers" | tr -s '\t ' ' ')
  echo "$name: $found_machine, $found_magic, subsystem $subsystem, system $os"
  [ "$found_magic" = "Magic $magic" ] || { echo "FAIL: $name is not $magic"; failed=1; }
  [ "$found_machine" = "$machine" ] || { echo "FAIL: $name is for '$found_machine', not $machine"; failed=1; }
  # A loader refuses a file marked for a later system than itself.
  [ "$subsystem" -le "$newest" ] || { echo "FAIL: $name needs subsystem $subsystem > $newest"; failed=1; }
  [ "$os" -le "$newest" ] || { echo "FAIL: $name needs system $os > $newest"; failed=1; }
done

# The program: a GUI program with the manifest's bytes among its resources.
program=$1
if ! grep -q "Subsystem[[:space:]]*00000002" <<<"$("$objdump" -p "$program")"; then
  echo "FAIL: $(basename "$program") is not a GUI program"; failed=1
fi
python3 - "$program" "$manifest" "$assembly_arch" <<'EOF' || failed=1
import re, sys
program, manifest, arch = sys.argv[1], open(sys.argv[2], 'rb').read(), sys.argv[3]
if manifest not in open(program, 'rb').read():
    sys.exit("FAIL: the manifest is not in the program")
named = re.findall(rb'processorArchitecture="([^"]*)"', manifest)
if any(n.decode().lower() not in (arch, '*') for n in named):
    sys.exit("FAIL: the manifest names processorArchitecture %s, not %s" % (named, arch))
print("manifest embedded; processorArchitecture: %s" % (", ".join(n.decode() for n in named) or "not named"))
EOF

[ $failed -eq 0 ] && echo "ok"
exit $failed
