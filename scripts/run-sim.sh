#!/usr/bin/env bash
# Installs the packages, builds, and starts the workstation on the simulated
# bench in the sample working folder data/.
set -euo pipefail
top="$(cd "$(dirname "$0")/.." && pwd)"
bash "$top/scripts/install-deps.sh"
cmake -S "$top" -B "$top/build" -G Ninja -DCMAKE_BUILD_TYPE=Release
cmake --build "$top/build" -j2 --target kia_nelta2 kia-bench
cd "$top/data"
exec "$top/build/app/kia_nelta2" --sim "$@"
