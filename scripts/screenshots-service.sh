#!/usr/bin/env bash
# Screenshots of the service operations of board type 4, taken under Xvfb:
#   docs/screenshots/service-progress.png  CExecProgress while the ФП is being saved
#                                          ("Сохранение данных ФП в файле...")
#   docs/screenshots/pre-verification.png  CPreVer, the connection picture and
#                                          instructions before "Верификация ПО кассы"
# Runs the program on the simulated bench in a scratch copy of data/; the page
# reads of the ФП come 15 ms late (a fault script), so that the save stays on
# screen long enough to be seen. Not part of the test suite.
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

display=":${SCREENSHOT_DISPLAY:-89}"
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

# Item of the "Сервис" menu (the third title of the menu bar) at height y.
service_item() {
    xdotool mousemove 232 10 click 1
    sleep 0.4
    xdotool mousemove 300 "$1" click 1
}

# "Сохранение данных ФП в файле": the start dialog ("Продолжить"), the test
# program put into DD5 (modes 0 and 1, then "ВНИМАНИЕ"), the file name, and
# the save itself half-way.
cat >"$work/slow-pages.txt" <<'FAULTS'
# every page read of the ФП and the РПЗУ answers 15 ms late
slow ms=15 cmd=33
FAULTS
start --sim --board 4 --faults "$work/slow-pages.txt"
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
service_item 31
dlg=$(wait_window 'Начало тестирования')
sleep 0.3
eval "$(xdotool getwindowgeometry --shell "$dlg")"
xdotool mousemove $((X + WIDTH - 80)) $((Y + 20)) click 1
box=$(wait_window '^ВНИМАНИЕ$')
sleep 0.3
xdotool windowfocus --sync "$box"
xdotool key Return
files=$(wait_window 'Введите имя файла для сохранения данных ФП')
sleep 0.5
xdotool windowfocus --sync "$files"
xdotool type --delay 30 "fp-before-repair.fp"
xdotool key Return
win=$(wait_window '^Сохранение данных ФП в файле\.\.\.$')
sleep 3
shoot_dialog "$win" service-progress.png 60
stop

# "Верификация ПО кассы": the pre-verification dialog (bitmap 300 and the
# connection instructions).
start --sim --board 4
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
service_item 135
win=$(wait_window '^Верификация ПО кассы\.\.\.$')
sleep 0.5
shoot_dialog "$win" pre-verification.png 40
stop

echo "screenshots written to $out"
