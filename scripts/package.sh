#!/usr/bin/env bash
# Builds the release packages and leaves them in dist/:
#   lines2svg-<version>-win64.zip      the Windows program, cross-built with MinGW-w64
#   lines2svg_<version>_amd64.deb      the Debian package
#   lines2svg-<version>-Linux.tar.gz   the same files as a tarball
# Needs cmake, g++, dpkg-dev and g++-mingw-w64-x86-64-posix (scripts/check.sh installs them).
#
#   bash scripts/package.sh
set -euo pipefail
cd "$(dirname "$0")/.."
jobs=$(nproc)
release=(-DCMAKE_BUILD_TYPE=Release -DLINES2SVG_TESTS=OFF -DLINES2SVG_BENCH=OFF)

cmake -S . -B build-package "${release[@]}" > /dev/null
cmake --build build-package -j"$jobs" --target lines2svg
cmake -S . -B build-package-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64.cmake "${release[@]}" \
  > /dev/null
cmake --build build-package-windows -j"$jobs" --target lines2svg

rm -rf dist
mkdir dist
(cd build-package && cpack > /dev/null)
(cd build-package-windows && cpack > /dev/null)
cp build-package/*.deb build-package/*.tar.gz build-package-windows/*.zip dist/
ls dist
