#!/usr/bin/env bash
# Installs the packages, builds everything and runs the whole test suite.
# KIA_SANITIZE=1 builds and runs it with -fsanitize=address,undefined instead.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/install-deps.sh"
build="$top/build"
extra=()
if [ "${KIA_SANITIZE:-0}" = "1" ]; then
    build="$top/build-asan"
    extra=(-DKIA_SANITIZE=ON)
fi
cmake -S "$top" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Debug "${extra[@]}"
cmake --build "$build" -j2
cd "$build"
ctest --output-on-failure --timeout 600 -j2
