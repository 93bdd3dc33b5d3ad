# Sourced by the screenshot scripts: builds the program(s), starts Xvfb with
# a scratch copy of data/ as the working folder, and gives the helpers that
# find, start and shoot windows. Before sourcing, a script may set
# `targets` (what to build; default kia_nelta2), `display_number` and
# `default_margin` (around a shot dialog). BUILD_DIR picks the build.
# Needs xvfb, xauth, xdotool and imagemagick (import).

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${BUILD_DIR:-$root/build-shell}
program=$build/app/kia_nelta2
targets=${targets:-kia_nelta2}
if [ ! -x "$program" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release
fi
# shellcheck disable=SC2086 # a list of targets
cmake --build "$build" -j2 --target $targets

out=$root/docs/screenshots
mkdir -p "$out"
work=$(mktemp -d)
runtime=$(mktemp -d)
chmod 700 "$runtime"
cp -r "$root/data/." "$work/"

display=":${SCREENSHOT_DISPLAY:-${display_number:-88}}"
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

# The program on the simulated bench, in the scratch folder.
start() {
    (cd "$work" && exec "$program" "$@") &
    pid=$!
}

stop() {
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
    pid=""
}

# "Продолжить", the top button of the right column of "Начало тестирования".
continue_start_dialog() {
    local dlg X Y WIDTH HEIGHT SCREEN WINDOW
    dlg=$(wait_window 'Начало тестирования')
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$dlg")"
    xdotool mousemove $((X + WIDTH - 80)) $((Y + 20)) click 1
}

# Xvfb has no window manager, so dialogs come without a title bar: the shot
# draws one above the dialog with its window name, then keeps the dialog and
# a margin ($3) of the main window around it.
shoot_dialog() {
    local win=$1 file=$2 margin=${3:-${default_margin:-40}} bar=24
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
