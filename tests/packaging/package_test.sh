#!/usr/bin/env bash
# Checks the release packages that scripts/package.sh left in dist/: the zip's entries, the
# strings of the Windows program's version resource and its manifest, lintian's verdict on the
# Debian package and its program's hardening, its manual page as man renders it, and the package
# installed into a scratch root, whose program must write the same files as the build tree's.
# Under Wine (WINEPREFIX set, as scripts/check.sh leaves it), the installer is installed, its
# program converts the example, its folder is on the system PATH until it is uninstalled. The
# source tarball must hold the commit's tracked files. Last, a clone of the commit in another
# folder, and the source tarball unpacked where there is no git, must package to the same bytes.
# Usage: package_test.sh BUILT_PROGRAM
set -u
source "$(dirname "$0")/../support/expect.sh"
cd "$(dirname "$0")/../.."
built=$(realpath "$1")
version=$(sed -n 's/^project(lines2svg VERSION \([0-9.]*\).*/\1/p' CMakeLists.txt)
# The packages must have been built, and the tools that read them be there: otherwise status 77,
# which CTest reports as skipped.
for tool in dpkg-deb lintian man python3 readelf nm strings; do
  if ! command -v "$tool" > /dev/null; then
    echo "skipped: $tool is missing (bash scripts/check.sh installs what the packaging test needs)"
    exit 77
  fi
done
if [[ ! -f dist/lines2svg_${version}_amd64.deb ]]; then
  echo "skipped: dist/ has no packages of $version: run bash scripts/package.sh first"
  exit 77
fi
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

zip=dist/lines2svg-$version-win64.zip
expect "zip entries" $'LICENSE.txt\nNAVOD.txt\nREADME.txt\ndocs/\ndocs/district.png\nexamples/\nexamples/district.txt\nlines2svg.exe' \
  "$(python3 -c 'import sys, zipfile; print("\n".join(sorted(zipfile.ZipFile(sys.argv[1]).namelist())))' "$zip")"
python3 -m zipfile -e "$zip" "$work/zip"
# The version resource's strings are UTF-16, each key followed by its value.
expect "version resource" "040904B0
CompanyName
the lines2svg developers
FileDescription
Converts the line objects of a drawing file into an SVG picture
FileVersion
$version
LegalCopyright
$(grep -m1 '^Copyright' LICENSE)
ProductName
lines2svg
ProductVersion
$version" "$(strings -el "$work/zip/lines2svg.exe" | grep -A1 --no-group-separator -xE \
  'CompanyName|FileVersion|LegalCopyright|ProductVersion|ProductName|FileDescription|StringFileInfo' |
  grep -vx StringFileInfo)"
expect "manifest: long paths, Windows 10 and 11" 2 \
  "$(strings "$work/zip/lines2svg.exe" | grep -cE 'longPathAware|8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a')"

deb=dist/lines2svg_${version}_amd64.deb
expect "tarball" 1 "$(ls dist/lines2svg-"$version"-*.tar.gz 2>/dev/null | wc -l)"
expect "Debian package depends on the C++ runtime" 1 \
  "$(dpkg-deb -f "$deb" Depends | grep -c 'libstdc++6')"
expect "zip licence and README have CR LF line ends" "0 0" \
  "$(grep -vc $'\r$' "$work/zip/LICENSE.txt") $(grep -vc $'\r$' "$work/zip/README.txt")"
# The installer holds the zip's files, the README as the same bytes.
msi=dist/lines2svg-$version-win64.msi
msiextract -C "$work/msi" "$msi" > /dev/null
expect "zip and installer: the same README" "" \
  "$(cmp "$work/zip/README.txt" "$(find "$work/msi" -name README.txt | head -1)" 2>&1)"
# One loop over a folder for cmd, typed and in a .bat file, in the README, the guide and the
# manual page alike; and the manual page's POSIX loop is the README's.
cmd_loops() { grep -hE '^ *(for %%?f in|@echo off)' "$@" | sed 's/^ *//'; }
expect "cmd loops: the guide's" "$(cmd_loops docs/navod.txt)" \
  "$(sed -n '/^### cmd/,/^### PowerShell/p' README.md | cmd_loops)"
expect "cmd loops: the manual page's" "$(cmd_loops docs/navod.txt)" "$(cmd_loops docs/lines2svg.1.in)"
expect "POSIX loop: the manual page's" \
  "$(sed -n '/^### POSIX shell/,/^```$/p' README.md | sed '1,/^```sh$/d;$d')" \
  "$(sed -n '/^for drawing in/,/^done$/p' docs/lines2svg.1.in | sed 's/\\e/\\/g')"
# A plain install, as a distribution's build makes it, holds nothing of Debian's.
cmake --install "$(dirname "$built")" --prefix "$work/plain" > /dev/null
expect "cmake --install: the program, its documents and the licence, nothing of Debian's" \
  "bin/lines2svg share/doc/lines2svg/LICENSE share/doc/lines2svg/README.md share/doc/lines2svg/docs/district.png share/doc/lines2svg/examples/district.txt share/doc/lines2svg/navod.txt share/man/man1/lines2svg.1.gz " \
  "$(cd "$work/plain" && find . -type f | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')"
expect "zip guide: UTF-8 with a mark, CR LF, the guide's lines" "efbbbf 0 $(wc -l < docs/navod.txt)" \
  "$(head -c 3 "$work/zip/NAVOD.txt" | od -An -tx1 | tr -d ' ') $(grep -vc $'\r$' "$work/zip/NAVOD.txt") $(wc -l < "$work/zip/NAVOD.txt")"
# Plain text for Notepad: no Markdown marks, and no line wider than 78 characters.
expect "zip guide: no backtick, no **, no line over 78 characters" "0 0 0" \
  "$(grep -c '`' "$work/zip/NAVOD.txt") $(grep -c '[*][*]' "$work/zip/NAVOD.txt") $(python3 -c 'import sys; print(sum(len(l) > 78 for l in open(sys.argv[1], encoding="utf-8-sig").read().split("\n")))' "$work/zip/NAVOD.txt")"
source_tarball=dist/lines2svg-$version.tar.gz
expect "source tarball: the commit's tracked files" "$(git ls-files | LC_ALL=C sort)" \
  "$(tar -tzf "$source_tarball" | grep -v '/$' | sed "s|^lines2svg-$version/||" | LC_ALL=C sort)"
# Only the placeholder Maintainer may draw a complaint, and only while it is in use: in the
# control file, and in the changelog's signature, which carries the same address.
allowed='^$'
[[ "$(dpkg-deb -f "$deb" Maintainer)" == *@invalid\> ]] &&
  allowed='^E: lines2svg: bogus-mail-host(-in-debian-changelog)? '
expect "lintian: nothing, not even information" "" \
  "$(lintian -I "$deb" 2>&1 | grep -E '^[EWIXP]:' | grep -vE "$allowed")"
dpkg -x "$deb" "$work/root"
doc="$work/root/usr/share/doc/lines2svg"
expect "installed documents, Debian's own among them" 7 "$(ls "$doc"/{README.md,navod.txt,docs/district.png,copyright,changelog.gz} \
  "$work/root/usr/share/man/man1/lines2svg.1.gz" "$work/root/usr/share/lintian/overrides/lines2svg" |
  wc -l)"
expect "Debian package: the licence only as its copyright file" "" "$(ls "$doc" | grep -i licen)"
expect "Debian changelog: the released version" "lines2svg ($version) unstable; urgency=medium" \
  "$(zcat "$doc/changelog.gz" | head -1)"
# Hardened as Debian builds, read from the binary: bound at start, read-only relocations, stack
# protection, and the checked copy that _FORTIFY_SOURCE makes where the compiler knows a
# buffer's size.
installed=$work/root/usr/bin/lines2svg
expect "hardening" "BIND_NOW GNU_RELRO __memcpy_chk __stack_chk_fail " "$({
  readelf -d "$installed" | grep -o 'BIND_NOW' | head -1
  readelf -lW "$installed" | grep -o 'GNU_RELRO'
  nm -D "$installed" | awk '{print $2}' | sed 's/@.*//' | grep -E '^__[a-z0-9_]+_chk(_fail)?$' | sort
} | tr '\n' ' ')"
expect "manual page: version and release date" \
  "lines2svg $version $(sed -n "s/^## \[$version\] - \([0-9-]*\).*/\1/p" CHANGELOG.md)" \
  "$(zcat "$work/root/usr/share/man/man1/lines2svg.1.gz" | sed -n 's/^\.TH LINES2SVG 1 "\([^"]*\)" "\([^"]*\)".*/\2 \1/p')"
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

# The installer, installed and run under Wine, then uninstalled without a trace.
if [[ -n "${WINEPREFIX:-}" ]]; then
  wine=/usr/lib/wine/wine64
  windows_path() { printf 'Z:%s' "$(realpath "$1" | tr / '\\')"; }
  folder="$WINEPREFIX/drive_c/Program Files/lines2svg"
  "$wine" msiexec /i "$(windows_path "$msi")" /qn > /dev/null 2>&1
  # A per-machine shortcut belongs in everyone's Start menu; Wine puts it in the user's.
  shortcut=$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/lines2svg.lnk' | head -1)
  expect "installer: files" "LICENSE.txt NAVOD.txt README.txt docs docs/district.png examples examples/district.txt lines2svg.exe " \
    "$(cd "$folder" 2>/dev/null && find . -mindepth 1 | sed 's|^\./||' | LC_ALL=C sort | tr '\n' ' ')"
  expect "installer: README has CR LF" "0 $(wc -l < README.md)" \
    "$(grep -vc $'\r$' "$folder/README.txt") $(wc -l < "$folder/README.txt")"
  # The program's shortcut starts in the profile folder of whoever starts it: its working folder
  # is the property USERFOLDER, %USERPROFILE%, which Windows expands when the shortcut starts.
  # Wine takes a working folder only from the Directory table and writes none for a property, so
  # the installer's tables are read, and the installed shortcut must not hold the installing
  # account's folder. A second entry opens the Czech guide.
  expect "installer: the shortcut's working folder, a property" "USERFOLDER %USERPROFILE%" \
    "$(msiinfo export "$msi" Shortcut | awk -F'\t' '$1 == "Shortcut" && $2 == "ProgramMenuFolder" {print $12}') $(msiinfo export "$msi" Property | tr -d '\r' | awk -F'\t' '$1 == "USERFOLDER" {print $2}')"
  expect "installer: no installing account's folder in the shortcut" 0 \
    "$(strings -el "$shortcut" | grep -ci 'users')"
  guide_shortcut=$(find "$WINEPREFIX/drive_c" -path '*/Start Menu/Programs/lines2svg – návod.lnk' | head -1)
  expect "installer: Start-menu entry for the guide" 'NAVOD.txt' \
    "$(strings -el "$guide_shortcut" 2>&1 | grep -o 'NAVOD.txt' | head -1)"
  mkdir "$work/msi-run"
  cp "$folder/examples/district.txt" "$work/msi-run/"
  (cd "$work/msi-run" && echo district.txt | "$wine" "$folder/lines2svg.exe" > /dev/null 2>&1)
  expect "installed Windows program writes what the build tree's does" "$(cat "$work/sums-built")" \
    "$(for f in "$work/msi-run"/district.{dat,trd,svg}; do tr -d '\r' < "$f" | sha256sum | cut -d' ' -f1; done)"
  system_path() {
    "$wine" reg query 'HKLM\System\CurrentControlSet\Control\Session Manager\Environment' /v PATH \
      2> /dev/null | tr -d '\r' | grep -c 'C:\\Program Files\\lines2svg'
  }
  expect "installer: its folder on the system PATH" 1 "$(system_path)"
  "$wine" msiexec /x "$(windows_path "$msi")" /qn > /dev/null 2>&1
  expect "uninstalled: its folder off the system PATH" 0 "$(system_path)"
  # Install and uninstall leave PATH byte for byte as it was, whether it ended with ";" or not.
  environment='HKLM\System\CurrentControlSet\Control\Session Manager\Environment'
  path_value() { "$wine" reg query "$environment" /v PATH 2> /dev/null | tr -d '\r' | sed -n 's/.*REG_[A-Z_]*SZ *//p'; }
  original=$(path_value)
  for ending in "" ";"; do
    "$wine" reg add "$environment" /v PATH /t REG_EXPAND_SZ /d "$original$ending" /f > /dev/null 2>&1
    "$wine" msiexec /i "$(windows_path "$msi")" /qn > /dev/null 2>&1
    "$wine" msiexec /x "$(windows_path "$msi")" /qn > /dev/null 2>&1
    expect "install and uninstall: PATH ending in '$ending' as it was" "$original$ending" "$(path_value)"
  done
  "$wine" reg add "$environment" /v PATH /t REG_EXPAND_SZ /d "$original" /f > /dev/null 2>&1
  expect "uninstalled: nothing left" "no folder, no shortcut" \
    "$([[ -e "$folder" ]] && echo folder left || echo no folder), $([[ -e "$shortcut" ]] && echo shortcut left || echo no shortcut)"
fi

# Reproducible: the same commit, cloned into another folder, packages to the same bytes. Work not
# yet committed would differ, so a tree that has any is not compared.
if [[ -z "$(git status --porcelain)" ]]; then
  git clone -q . "$work/clone"
  (cd "$work/clone" && bash scripts/package.sh > /dev/null 2>&1)
  expect "reproducible: every package, an installer among them" \
    "$(cd dist && sha256sum -- *)" "$(cd "$work/clone/dist" && sha256sum -- *)"
  expect "reproducible: an installer" 1 "$(ls dist/*.msi | wc -l)"
  # A version edited and not committed would name a source tarball that does not hold it: the
  # clone is refused, with nothing packaged.
  sed -i 's/^project(lines2svg VERSION [0-9.]*/project(lines2svg VERSION 9.9.9/' \
    "$work/clone/CMakeLists.txt"
  rm -rf "$work/clone/dist"
  said=$(cd "$work/clone" && bash scripts/package.sh 2>&1)
  expect "an uncommitted version: refused, nothing packaged" "1 no dist" \
    "$(grep -c 'changes that the commit does not hold' <<< "$said") $([[ -e "$work/clone/dist" ]] && echo dist || echo no dist)"
  # A packager's build: the source tarball, unpacked where there is no history.
  mkdir "$work/unpacked"
  tar -xzf "$source_tarball" -C "$work/unpacked"
  said=$(cd "$work/unpacked/lines2svg-$version" && bash scripts/package.sh 2>&1)
  expect "from the source tarball: it says the source tarball is left out" 1 \
    "$(grep -c 'source tarball is left out' <<< "$said")"
  expect "from the source tarball: the same packages" \
    "$(cd dist && sha256sum -- $(ls | grep -vx "lines2svg-$version.tar.gz"))" \
    "$(cd "$work/unpacked/lines2svg-$version/dist" && sha256sum -- *)"
else
  echo "reproducibility not compared: the work tree has changes not committed"
fi

finish packaging
