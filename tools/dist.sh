#!/usr/bin/env bash
# Packs the release archive BUILD_DIR/tintora-VERSION.zip: the program, the About box library,
# the help file (once its target builds it), the credits page and the read-me, which gets the
# CR LF line ends Windows editors expect.
#   dist.sh BUILD_DIR
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
root=$(dirname "$here")
build=$(cd "$1" && pwd)
# The version as the build wrote it from the project's one statement of it.
version=$(sed -n 's/^#define PRODUCT_VERSION "\(.*\)"$/\1/p' "$build/generated/version/tintora_version.h")
if [ -z "$version" ]; then
  echo "dist: no version in $build/generated/version/tintora_version.h; configure first" >&2
  exit 1
fi
archive=$build/tintora-$version.zip
stage=$build/dist/tintora-$version

rm -rf "$stage" "$archive"
mkdir -p "$stage"
for f in tintora.exe ostrel_about.dll credits.htm; do
  if [ ! -f "$build/$f" ]; then
    echo "dist: $build/$f is missing; build first" >&2
    exit 1
  fi
  cp "$build/$f" "$stage/"
done
chm=""
if [ -f "$build/tintora.chm" ]; then
  chm=tintora.chm
  cp "$build/tintora.chm" "$stage/"
else
  echo "dist: note: no tintora.chm has been built yet; the archive goes without the help file"
fi

cd "$stage"
zip -q -X "$archive" tintora.exe ostrel_about.dll credits.htm $chm
cp "$build/dist-README.txt" README.txt
zip -q -X -l "$archive" README.txt
echo "dist: $archive"
unzip -l "$archive" | sed -n '4,$p'
