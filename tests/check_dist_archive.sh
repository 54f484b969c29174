#!/usr/bin/env bash
# The release archive as `make dist` packs it: the shipped files side by side with no folder
# above them, the built ones unchanged, and the read-me filled in with CR LF line ends.
#   check_dist_archive.sh CMAKE CPACK SOURCE_DIR BUILD_DIR VERSION x86|x64
set -uo pipefail
cmake=$1 cpack=$2 source=$3 build=$4 version=$5 arch=$6
# A folder of its own, so that the archive `make dist` left in the build folder stays as it was.
work=$build/dist-check
archive=$work/tintora-$version-$arch.zip
rm -rf "$work"
mkdir -p "$work/unpacked"
if ! (cd "$build" && "$cpack" -B "$work" >"$work/cpack.log" 2>&1); then
  cat "$work/cpack.log"
  echo "FAIL: cpack"; exit 1
fi
if [ ! -f "$archive" ]; then
  ls "$work"
  echo "FAIL: no $archive"; exit 1
fi
failed=0

expected="credits.htm ostrel_about.dll README.txt tintora.exe"
# The help file goes in when the build has one (it needs chmcmd).
[ -f "$build/tintora.chm" ] && expected="$expected tintora.chm"
expected=$(tr ' ' '\n' <<<"$expected" | sort)
listed=$("$cmake" -E tar tf "$archive" | sort)
echo "$archive holds:"
echo "$listed"
if [ "$listed" != "$expected" ]; then
  echo "FAIL: expected exactly:"
  echo "$expected"
  failed=1
fi

(cd "$work/unpacked" && "$cmake" -E tar xf "$archive") || { echo "FAIL: cannot unpack"; exit 1; }
for f in tintora.exe ostrel_about.dll credits.htm tintora.chm; do
  [ -f "$build/$f" ] || continue
  if ! cmp -s "$build/$f" "$work/unpacked/$f"; then
    echo "FAIL: $f in the archive is missing or differs from the built one"; failed=1
  fi
done

# The read-me: its source with the version filled in, every line ending in CR LF.
sed -e "s/@PROJECT_VERSION@/$version/g" -e 's/$/\r/' "$source/dist/README.txt.in" >"$work/README.expected"
if ! cmp -s "$work/README.expected" "$work/unpacked/README.txt"; then
  echo "FAIL: README.txt is not dist/README.txt.in with the version and CR LF line ends"
  diff <(od -c "$work/README.expected") <(od -c "$work/unpacked/README.txt") | head -20
  failed=1
fi

[ "$failed" -eq 0 ] && echo "PASS"
exit "$failed"
