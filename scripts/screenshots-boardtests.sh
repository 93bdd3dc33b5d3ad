#!/usr/bin/env bash
# Screenshots of the tests the engineer judges by eye, taken under Xvfb:
#   docs/screenshots/segment-test.png   "Тест ж/к ячеек индитатора и курсора" at its
#                                       opening: "ПРОВЕРЬ ЗАСВЕТКУ" on the on-screen indicator
#                                       and on the simulated board's indicator beside it
#   docs/screenshots/keyboard-test.png  "Тест клавиатуры" of board type 3 with keys pressed
#                                       by a key script of the simulated bench
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

display=":${SCREENSHOT_DISPLAY:-88}"
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

start() {
    (cd "$work" && exec "$program" "$@") &
    pid=$!
}

stop() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
}

# Xvfb has no window manager: draw a title bar with the window's name above
# the dialog and keep some of the main window around it.
shoot_dialog() {
    local win=$1 file=$2 margin=${3:-40} bar=24
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$win")"
    local title
    title=$(xdotool getwindowname "$win")
    import -window root "$work/root.png"
    local left=$((X - margin)) top=$((Y - bar - margin))
    local right=$((X + WIDTH + margin)) bottom=$((Y + HEIGHT + margin))
    ((left < 0)) && left=0
    ((top < 0)) && top=0
    ((right > 1280)) && right=1280
    ((bottom > 960)) && bottom=960
    /usr/bin/convert "$work/root.png" \
        -fill '#2c4f7c' -draw "rectangle $((X - 1)),$((Y - bar)) $((X + WIDTH)),$((Y - 1))" \
        -fill none -stroke '#2c4f7c' -draw "rectangle $((X - 1)),$((Y - 1)) $((X + WIDTH)),$((Y + HEIGHT))" \
        -stroke none -fill white -font DejaVu-Sans -pointsize 13 \
        -annotate +$((X + 8))+$((Y - 7)) "$title" \
        -crop $((right - left))x$((bottom - top))+$left+$top +repage "$out/$file"
}

# Tool bar button n (0 the bus test; every test button of board types 0..3 is
# shown, 41 pixels apart), then "Продолжить" of the start dialog.
start_test() {
    xdotool mousemove $((33 + 41 * $1)) 44 click 1
    local dlg X Y WIDTH HEIGHT SCREEN WINDOW
    dlg=$(wait_window 'Начало тестирования')
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$dlg")"
    xdotool mousemove $((X + WIDTH - 80)) $((Y + 20)) click 1
}

# Board type 0, the cashier's indicator (button 10): the opening text.
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_test 10
win=$(wait_window 'индитатора и курсора')
sleep 1.0
shoot_dialog "$win" segment-test.png
stop

# Board type 3 (with the top row), the keyboard test (button 14): one key of
# each column at a time, so that every press reads as a single key.
cat >"$work/keys.txt" <<'KEYS'
key-press T2 at=0 hold=3000
key-press 8 at=0 hold=3000
key-press ПВ at=0 hold=3000
key-press -3 at=0 hold=3000
key-press ИТОГ at=0 hold=3000
key-press T5 at=3500 hold=3000
key-press | at=3500 hold=3000
key-press 5 at=3500 hold=3000
key-press 1 at=3500 hold=3000
KEYS
start --sim --board 3 --faults "$work/keys.txt"
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_test 14
win=$(wait_window '^Тест клавиатуры$')
sleep 8
shoot_dialog "$win" keyboard-test.png
stop

echo "screenshots written to $out"
