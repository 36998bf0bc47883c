#!/usr/bin/env bash
# Builds lines2svg and runs every test. On a fresh Debian machine it first installs what the
# tests need (as root, through apt-get). Warnings are errors here.
set -euo pipefail
cd "$(dirname "$0")/.."

packages=(cmake g++ libgtest-dev libbenchmark-dev libxml2-utils w3c-sgml-lib)
missing=()
for package in "${packages[@]}"; do
  dpkg -s "$package" > /dev/null 2>&1 || missing+=("$package")
done
if ((${#missing[@]})); then
  if [[ $(id -u) -ne 0 ]]; then
    echo "missing packages: ${missing[*]} (run as root, or install them)" >&2
    exit 1
  fi
  apt-get update
  DEBIAN_FRONTEND=noninteractive apt-get install -y --no-install-recommends "${missing[@]}"
fi

cmake -S . -B build -DCMAKE_BUILD_TYPE=Release -DLINES2SVG_WERROR=ON
cmake --build build -j"$(nproc)"
ctest --test-dir build --output-on-failure -j"$(nproc)"
