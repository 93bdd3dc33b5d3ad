#!/usr/bin/env bash
# Screenshots of the full check and the trainer's window, taken under Xvfb:
#   docs/screenshots/full-check-summary.png  "Полная проверка платы" at its end on board type 0
#                                            with a RAM fault: the list, the failing block and
#                                            the conclusion its diagnostics came to (each probe
#                                            step taken with "Пуск", the simulated tip following
#                                            the point shown)
#   docs/screenshots/full-check-report.png   page 1 of the PDF report of the same check, written
#                                            by kia-bench check and rendered by pdftoppm
#   docs/screenshots/simulator-faults.png    "Неисправности имитатора" with a fault hidden
# Runs the programs on the simulated bench in a scratch copy of data/. Needs xvfb, xdotool,
# imagemagick and poppler-utils. BUILD_DIR picks the build. The check runs in real time:
# about three minutes.
set -euo pipefail

targets="kia_nelta2 kia-bench"
display_number=89
default_margin=30
. "$(dirname "$0")/screenshot-common.sh"
echo "ram-cell addr=0x1235 high=0x10" >"$work/ram.txt"


# A visible window named $1 smaller than $2 pixels wide (the question boxes
# share their title with the full check's window).
small_window() {
    local w X Y WIDTH HEIGHT SCREEN WINDOW
    for w in $(xdotool search --onlyvisible --name "$1" 2>/dev/null); do
        eval "$(xdotool getwindowgeometry --shell "$w")"
        if ((WIDTH < $2)); then
            echo "$w"
            return
        fi
    done
}

click_in() { # window, x from its left, y from its bottom
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + $2)) $((Y + HEIGHT - $3)) click 1
}

click_right() { # window, x from its right, y from its bottom
    local X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$1")"
    xdotool mousemove $((X + WIDTH - $2)) $((Y + HEIGHT - $3)) click 1
}

# --- The full check with a RAM fault, from "Тестирование" ----------------------
start --sim --board 0 --faults "$work/ram.txt"
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
# "Полная проверка платы..." is the item after "Тест периферии".
xdotool mousemove 40 10 click 1
sleep 0.5
xdotool mousemove 100 277 click 1
check=$(wait_window '^Полная проверка платы$')
continue_start_dialog
dlg=$(wait_window 'Выберите версию')
sleep 0.3
# "OK", left of "Отменить".
eval "$(xdotool getwindowgeometry --shell "$dlg")"
xdotool mousemove $((X + WIDTH - 137)) $((Y + HEIGHT - 20)) click 1

# The automatic tests; then "Провести диагностику (RAM_ERROR) ?": "Да".
question=""
for _ in $(seq 300); do
    question=$(small_window '^Полная проверка платы$' 500)
    [ -n "$question" ] && break
    sleep 1
done
[ -n "$question" ] || { echo "the check asked nothing" >&2; exit 1; }
sleep 0.5
click_right "$question" 138 24 # "Да", left of "Нет"
# Each probe step: "Пуск" until the conclusion, where "Пуск" does nothing;
# then "Выход" closes the conclusion.
for _ in $(seq 40); do
    step=$(wait_window '^Диагностика$')
    click_in "$step" 50 23
    sleep 1.0
done
step=$(wait_window '^Диагностика$')
click_in "$step" 137 23
# The interactive tests are declined one by one ("Нет").
for _ in $(seq 20); do
    sleep 1
    question=$(small_window '^Полная проверка платы$' 500)
    [ -z "$question" ] && continue
    click_right "$question" 45 24 # "Нет", the right one
done
sleep 1
shoot_dialog "$check" full-check-summary.png
stop

# --- The PDF report of the same check ------------------------------------------
(cd "$work" && QT_QPA_PLATFORM=offscreen "$build/cli/kia-bench" -p sim --faults ram.txt check \
    --report report.pdf >/dev/null 2>&1) || true
pdftoppm -png -r 70 -f 1 -l 1 -singlefile "$work/report.pdf" "$work/report"
cp "$work/report.png" "$out/full-check-report.png"

# --- The trainer's window with a fault hidden -----------------------------------
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
# "Сервис" → its last item, "Неисправности имитатора...".
xdotool mousemove 232 10 click 1
sleep 0.3
xdotool key Up Return
faults=$(wait_window 'Неисправности имитатора')
sleep 0.5
shoot_dialog "$faults" simulator-faults.png
stop

echo "screenshots written to $out"
