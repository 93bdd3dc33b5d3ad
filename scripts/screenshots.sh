#!/usr/bin/env bash
# Screenshots of the workstation as a person sees it, taken under Xvfb:
#   docs/screenshots/board-choice.png  the board choice at start-up
#   docs/screenshots/main-board0.png   main window, board type 0
#   docs/screenshots/main-board4.png   main window, board type 4, "Сервис" menu open
# Runs the program on the simulated bench in a scratch copy of data/.
# Needs xvfb, xauth, xdotool and imagemagick (import). BUILD_DIR picks the build.
set -euo pipefail

root=$(cd "$(dirname "$0")/.." && pwd)
build=${BUILD_DIR:-$root/build-shell}
program=$build/app/kia_nelta2
if [ ! -x "$program" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
cmake --build "$build" -j2 --target kia_nelta2

out=$root/docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
cp -r "$root/data/." "$work/"

display=":${SCREENSHOT_DISPLAY:-87}"
Xvfb "$display" -screen 0 1280x960x24 -nolisten tcp >/dev/null 2>&1 &
xvfb=$!
pid=""
cleanup() {
    [ -n "$pid" ] && kill "$pid" 2>/dev/null || true
    kill "$xvfb" 2>/dev/null || true
    rm -rf "$work" "$runtime"
}
trap cleanup EXIT

export DISPLAY=$display XDG_RUNTIME_DIR=$runtime QT_QPA_PLATFORM=xcb
for _ in $(seq 50); do xdotool getdisplaygeometry >/dev/null 2>&1 && break; sleep 0.1; done

# Waits for a visible window whose name matches $1 and prints its id.
wait_window() {
    local id=""
    for _ in $(seq 100); do
        id=$(xdotool search --onlyvisible --name "$1" 2>/dev/null | head -n1 || true)
        [ -n "$id" ] && break
        sleep 0.1
    done
    [ -n "$id" ] || { echo "no window named $1" >&2; exit 1; }
    echo "$id"
}

# Starts the program with the given arguments in the scratch folder.
start() {
    (cd "$work" && exec "$program" "$@") &
    pid=$!
}

stop() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
}

# The board choice, with the selection moved to the third row.
start --sim
win=$(wait_window 'КИА ККМ')
sleep 0.5
xdotool key --window "$win" Down Down
sleep 0.3
import -window "$win" "$out/board-choice.png"
stop

# Board type 0: the circuit diagram with the status bar.
start --sim --board 0
win=$(wait_window 'kia_nelta2')
sleep 1.5
import -window root "$out/main-board0.png"
stop

# Board type 4 with the service menu open: a click on its title, the third
# item of the menu bar (Xvfb has no window manager, so the window sits at 0, 0
# and takes no keyboard focus for menu keys).
start --sim --board 4
win=$(wait_window 'kia_nelta2')
sleep 1.5
xdotool mousemove 232 10 click 1
sleep 0.3
xdotool mousemove 300 75
sleep 0.5
import -window root "$out/main-board4.png"
stop

echo "screenshots written to $out"
