#!/usr/bin/env bash
# Checks the release packages that scripts/package.sh left in dist/: the zip's entries, the
# strings of the Windows program's version resource and its manifest, lintian's verdict on the
# Debian package, its manual page as man renders it, and the package installed into a scratch
# root, whose program must write the same files as the build tree's.
# Usage: package_test.sh BUILT_PROGRAM
set -u
source "$(dirname "$0")/../support/expect.sh"
cd "$(dirname "$0")/../.."
built=$(realpath "$1")
version=$(sed -n 's/^project(lines2svg VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip=dist/lines2svg-$version-win64.zip
expect "zip entries" $'LICENSE.txt\nREADME.md\nexamples/\nexamples/district.txt\nlines2svg.exe' \
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
expect "zip licence has CR LF line ends" 0 "$(grep -vc $'\r$' "$work/zip/LICENSE.txt")"
# Only the placeholder Maintainer may draw a complaint, and only while it is in use: in the
# control file, and in the changelog's signature, which carries the same address.
allowed='^$'
[[ "$(dpkg-deb -f "$deb" Maintainer)" == *@invalid\> ]] &&
  allowed='^E: lines2svg: bogus-mail-host(-in-debian-changelog)? '
expect "lintian: no error or warning" "" "$(lintian "$deb" 2>&1 | grep -E '^[EW]:' | grep -vE "$allowed")"
dpkg -x "$deb" "$work/root"
doc="$work/root/usr/share/doc/lines2svg"
expect "installed documents" 4 "$(ls "$doc"/{README.md,copyright,changelog.gz} \
  "$work/root/usr/share/man/man1/lines2svg.1.gz" | wc -l)"
expect "manual page renders without a warning" "" \
  "$(MANWIDTH=80 man --warnings -l "$work/root/usr/share/man/man1/lines2svg.1.gz" 2>&1 > /dev/null)"
for program in installed:"$work/root/usr/bin/lines2svg" built:"$built"; do
  mkdir -p "$work/run"
  cp "$doc/examples/district.txt" "$work/run/"
  (cd "$work/run" && echo district.txt | "${program#*:}" > /dev/null)
  sha256sum "$work/run"/district.{dat,trd,svg} | cut -d' ' -f1 > "$work/sums-${program%%:*}"
  rm -rf "$work/run"
done
expect "installed program writes what the build tree's does" "$(cat "$work/sums-built")" \
  "$(cat "$work/sums-installed")"
expect "installed program is not the built one" 1 \
  "$(cmp -s "$work/root/usr/bin/lines2svg" "$built"; echo $?)"

finish packaging
