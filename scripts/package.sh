#!/usr/bin/env bash
# Builds the release packages and leaves them in dist/:
#   lines2svg-<version>-win64.msi      the Windows installer (built with wixl)
#   lines2svg-<version>-win64.zip      the Windows program, cross-built with MinGW-w64
#   lines2svg_<version>_amd64.deb      the Debian package
#   lines2svg-<version>-Linux.tar.gz   the same files as a tarball
#   lines2svg-<version>.tar.gz         the source: the commit's tracked files (from a clone only,
#                                      and one with no changes that the commit does not hold)
# Needs cmake, g++, dpkg-dev, g++-mingw-w64-x86-64-posix, wixl, msitools and python3
# (scripts/check.sh installs them). It runs in a clone or in an unpacked source tarball alike.
#
# The packages are reproducible: every file time, and the Windows program's time stamp, is
# SOURCE_DATE_EPOCH, which is midnight UTC of this release's date in CHANGELOG.md (the date the
# manual page and the Debian changelog carry) unless it is set; the same release gives the same
# bytes in any folder, from a clone or from its source tarball. The Linux program is built with
# Debian's hardening flags.
#
#   bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
# In a clone the source tarball is the commit, as git archives it, while the packages are built
# from the work tree: a tree with changes the commit does not hold, an edited version or a file
# not yet added, would give packages and a source tarball that disagree, and is refused. An
# unpacked source tarball has no history, and is packed as it stands.
clone=0
[[ "$(git rev-parse --show-toplevel 2> /dev/null)" == "$PWD" ]] && clone=1
if ((clone)) && [[ -n "$(git status --porcelain)" ]]; then
  echo "package.sh: the work tree has changes that the commit does not hold; commit them or" \
    "set them aside first:" >&2
  git status --short >&2
  exit 1
fi
version_of() { sed -n 's/^project(lines2svg VERSION \([0-9.]*\).*/\1/p'; }
if ((clone)); then
  version=$(git show HEAD:CMakeLists.txt | version_of)
else
  version=$(version_of < CMakeLists.txt)
fi
release_date=$(sed -n "s/^## \[$version\] - \([0-9-]*\).*/\1/p" CHANGELOG.md)
if [[ -z "$release_date" ]]; then
  echo "package.sh: CHANGELOG.md has no dated section for $version" >&2
  exit 1
fi
export SOURCE_DATE_EPOCH=${SOURCE_DATE_EPOCH:-$(date -u -d "$release_date" +%s)}
release=(-DCMAKE_BUILD_TYPE=Release -DLINES2SVG_TESTS=OFF -DLINES2SVG_BENCH=OFF)

# Fortified functions, stack protection, read-only relocations bound at start, and file paths
# made relative to the source folder, as Debian builds its packages.
export DEB_BUILD_MAINT_OPTIONS=hardening=+all
cmake -S . -B build-package "${release[@]}" \
  -DCMAKE_CXX_FLAGS="$(dpkg-buildflags --get CPPFLAGS) $(dpkg-buildflags --get CXXFLAGS)" \
  -DCMAKE_EXE_LINKER_FLAGS="$(dpkg-buildflags --get LDFLAGS)" > /dev/null
cmake --build build-package -j"$jobs" --target lines2svg compressed_docs
cmake -S . -B build-package-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake "${release[@]}" \
  -DCMAKE_CXX_FLAGS="-ffile-prefix-map=$PWD=." > /dev/null
cmake --build build-package-windows -j"$jobs" --target lines2svg

rm -rf dist
mkdir dist
(cd build-package && cpack > /dev/null)
(cd build-package-windows && cpack > /dev/null)
cp build-package/*.deb build-package/*.tar.gz build-package-windows/*.zip dist/
# The source, as the commit holds it. A source tarball has no history to archive.
if ((clone)); then
  git archive --format=tar --prefix="lines2svg-$version/" HEAD |
    gzip -9n > "dist/lines2svg-$version.tar.gz"
else
  echo "package.sh: not a git clone, so the source tarball is left out"
fi

# The installer, from the files the zip holds, all dated alike.
msi_root=build-package-windows/msi
rm -rf "$msi_root"
cmake --install build-package-windows --prefix "$msi_root" --strip > /dev/null
find "$msi_root" -exec touch -h -d "@$SOURCE_DATE_EPOCH" {} +
msi=$PWD/dist/lines2svg-$version-win64.msi
(cd "$msi_root" && wixl -a x64 -o "$msi" ../lines2svg.wxs)
# The install folder joins the system PATH, and leaves it on uninstall: wixl rejects the
# Environment element, so its table and the two standard actions that read it are added to the
# built database. "=-*PATH" is the system variable, changed on install and undone on removal.
# "[INSTALLDIR];[~]" puts the folder in front of what PATH holds, the ";" beside "[~]" being its
# separator, which the installer takes away with it on removal: PATH is then byte for byte what it
# was, ending in ";" or not. The appending form, "[~];[INSTALLDIR]", left a stray ";" behind under
# Wine. The folder holds no program but lines2svg.exe, so being first on PATH shadows nothing.
msibuild "$msi" -q "CREATE TABLE \`Environment\` (\`Environment\` CHAR(72) NOT NULL, \
\`Name\` CHAR(255) NOT NULL LOCALIZABLE, \`Value\` CHAR(255) LOCALIZABLE, \
\`Component_\` CHAR(72) NOT NULL PRIMARY KEY \`Environment\`)"
msibuild "$msi" -q "INSERT INTO \`Environment\` (\`Environment\`, \`Name\`, \`Value\`, \
\`Component_\`) VALUES ('SystemPath', '=-*PATH', '[INSTALLDIR];[~]', 'Program')"
msibuild "$msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) \
VALUES ('RemoveEnvironmentStrings', 3300)"
msibuild "$msi" -q "INSERT INTO \`InstallExecuteSequence\` (\`Action\`, \`Sequence\`) \
VALUES ('WriteEnvironmentStrings', 5200)"
# wixl gives every build a random package code and dates it now. The dates become
# SOURCE_DATE_EPOCH, and the code is made from the package's own bytes, so that it is the same for
# the same package and differs for any other.
python3 - "$msi" <<'PY'
import hashlib, os, re, struct, sys, uuid
path = sys.argv[1]
data = bytearray(open(path, "rb").read())
# The summary information's revision number, a string property (type 0x1E) of 39 bytes, and the
# times (type 0x40, FILETIME) that follow it.
found = list(re.finditer(rb"\x1e\x00\x00\x00\x27\x00\x00\x00(\{[0-9A-F-]{36}\})", data))
if len(found) != 1:
    sys.exit("package.sh: the installer's package code was not found once")
start, end = found[0].span(1)
epoch = (int(os.environ["SOURCE_DATE_EPOCH"]) + 11644473600) * 10**7
times = list(re.finditer(rb"\x40\x00\x00\x00(.{8})", data[end:end + 64], re.DOTALL))
if not times:
    sys.exit("package.sh: the installer's dates were not found")
for time in times:
    data[end + time.start(1):end + time.end(1)] = struct.pack("<Q", epoch)
data[start:end] = b"{" + b"0" * 36 + b"}"
code = uuid.UUID(bytes=hashlib.sha256(data).digest()[:16], version=4)
data[start:end] = ("{%s}" % str(code).upper()).encode()
open(path, "wb").write(data)
PY
ls dist
