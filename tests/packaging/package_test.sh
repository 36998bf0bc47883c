#!/usr/bin/env bash
# Checks the release packages that scripts/package.sh left in dist/: the zip's entries, the
# strings of the Windows program's version resource and its manifest, and the Debian package
# installed into a scratch root, whose program must write the same files as the build tree's.
# Usage: package_test.sh BUILT_PROGRAM
set -u
source "$(dirname "$0")/../support/expect.sh"
cd "$(dirname "$0")/../.."
built=$(realpath "$1")
version=$(sed -n 's/^project(lines2svg VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip=dist/lines2svg-$version-win64.zip
expect "zip entries" $'README.md\nexamples/\nexamples/district.txt\nlines2svg.exe' \
  "$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")"
python3 -m zipfile -e "$zip" "$work/zip"
# The version resource's strings are UTF-16, each key followed by its value.
expect "version resource" "FileDescription
Converts the line objects of a drawing file into an SVG picture
FileVersion
$version
ProductName
lines2svg
ProductVersion
$version" "$(strings -el "$work/zip/lines2svg.exe" |
  grep -A1 --no-group-separator -xE 'FileVersion|ProductVersion|ProductName|FileDescription')"
expect "manifest: long paths, Windows 10 and 11" 2 \
  "$(strings "$work/zip/lines2svg.exe" | grep -cE 'longPathAware|8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a')"

deb=dist/lines2svg_${version}_amd64.deb
expect "tarball" 1 "$(ls dist/lines2svg-"$version"-*.tar.gz 2>/dev/null | wc -l)"
expect "Debian package depends on the C++ runtime" 1 \
  "$(dpkg-deb -f "$deb" Depends | grep -c 'libstdc++6')"
dpkg -x "$deb" "$work/root"
for program in "$work/root/usr/bin/lines2svg" "$built"; do
  mkdir -p "$work/run"
  cp "$work/root/usr/share/doc/lines2svg/examples/district.txt" "$work/run/"
  (cd "$work/run" && echo district.txt | "$program" > /dev/null)
  sha256sum "$work/run"/district.{dat,trd,svg} | cut -d' ' -f1 > "$work/sums-$(basename "$(dirname "$program")")"
  rm -rf "$work/run"
done
expect "installed program writes what the build tree's does" "$(cat "$work/sums-$(basename "$(dirname "$built")")")" \
  "$(cat "$work/sums-bin")"
expect "README installed" 1 "$(ls "$work/root/usr/share/doc/lines2svg/README.md" | wc -l)"

finish packaging
