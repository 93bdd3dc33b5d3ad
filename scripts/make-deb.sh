#!/usr/bin/env bash
# Builds the Debian package kia-nelta2_<version>_amd64.deb into build-deb/
# (a Release build of its own). Install it with: apt install ./build-deb/kia-nelta2_*.deb
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/install-deps.sh"
build="$top/build-deb"
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$build" -j2
cd "$build"
cpack -G DEB
ls -1 "$build"/kia-nelta2_*.deb
