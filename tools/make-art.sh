#!/bin/sh
# Regenerates the pictures and icons of res/ and the points file
# data/kia_nelta2.dot: builds kia-makeart and runs it on the source tree.
# The bundled font res/fonts/kia-mono.ttf is refreshed from the system's
# DejaVu Sans Mono first (Debian package fonts-dejavu-core).
#
#   tools/make-art.sh [build-dir]      (default: build-art next to the sources)
#
# Environment: FONT_DIR (default /usr/share/fonts/truetype/dejavu),
#              JOBS (parallel build jobs, default 2).
set -eu

root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-"$root/build-art"}
fonts=${FONT_DIR:-/usr/share/fonts/truetype/dejavu}
jobs=${JOBS:-2}

if [ ! -f "$fonts/DejaVuSansMono.ttf" ]; then
    echo "make-art: $fonts/DejaVuSansMono.ttf not found (install fonts-dejavu-core)" >&2
    exit 1
fi
mkdir -p "$root/res/fonts"
cmp -s "$fonts/DejaVuSansMono.ttf" "$root/res/fonts/kia-mono.ttf" ||
    cp "$fonts/DejaVuSansMono.ttf" "$root/res/fonts/kia-mono.ttf"

if [ ! -f "$build/CMakeCache.txt" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j "$jobs" --target kia-makeart

# Qt wants a private runtime folder; give it a throw-away one if there is none.
if [ -z "${XDG_RUNTIME_DIR:-}" ]; then
    XDG_RUNTIME_DIR=$(mktemp -d)
    export XDG_RUNTIME_DIR
    trap 'rm -rf "$XDG_RUNTIME_DIR"' EXIT
fi
QT_QPA_PLATFORM=offscreen "$build/tools/kia-makeart" --root "$root" --font-dir "$fonts"
