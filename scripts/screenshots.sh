#!/usr/bin/env bash
# Screenshots of the workstation as a person sees it, taken under Xvfb:
#   docs/screenshots/board-choice.png  the board choice at start-up
#   docs/screenshots/main-board0.png   main window, board type 0
#   docs/screenshots/main-board4.png   main window, board type 4, "Сервис" menu open
#   docs/screenshots/test-running.png  the RAM test running, board type 0
#   docs/screenshots/ram-error.png     the RAM error display of a board with a bad cell
#   docs/screenshots/bus-port-image.png the bus test's port-image list, two lines shorted
#   docs/screenshots/colour-chooser.png "Цвет фона": Qt's colour chooser in Russian
#   docs/screenshots/fault-types.png   "Диагностика по типам неисправностей": the list
#   docs/screenshots/diagnostics-step.png  RAM_ERROR three steps on: mark, step dialog, history
#   docs/screenshots/circuit-dialog.png    the peripheral test's first circuit, away from its mark
#   docs/screenshots/circuit-cross-error.png  a cross-check failure in "Ошибка теста периферии"
#   docs/screenshots/diagnostics-step.png  RAM_ERROR's first probe step: mark, step dialog, history
#   docs/screenshots/oscilloscope-step.png RAM_ERROR's first step with the oscilloscope:
#                                          the reference oscillogram
# Runs the program on the simulated bench in a scratch copy of data/ (the
# failing boards come from fault scripts given with --faults).
# Needs xvfb, xauth, xdotool and imagemagick (import). BUILD_DIR picks the build.
set -euo pipefail

display_number=87
default_margin=120
. "$(dirname "$0")/screenshot-common.sh"

start --sim
win=$(wait_window 'КИА ККМ')
sleep 0.5
xdotool key --window "$win" Down Down
sleep 0.3
import -window "$win" "$out/board-choice.png"
stop

start --sim --board 0
win=$(wait_window 'kia_nelta2')
sleep 1.5
import -window root "$out/main-board0.png"
stop

start --sim --board 4
win=$(wait_window 'kia_nelta2')
sleep 1.5
xdotool mousemove 232 10 click 1
sleep 0.3
xdotool mousemove 300 75
sleep 0.5
import -window root "$out/main-board4.png"
stop

# Starts a test from its tool bar button (x of the button) and confirms the
# start dialog with a click on "Продолжить", the top button of its right column.
start_test() {
    xdotool mousemove "$1" 44 click 1
    continue_start_dialog
}

# Board type 0: the RAM test (third button) half-way through its passes.
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_test 115
win=$(wait_window '^Тест ОЗУ$')
sleep 4.5
shoot_dialog "$win" test-running.png 160
stop

# A RAM cell with bit 4 stuck high: the first pass shows its block.
cat >"$work/ram-cell.txt" <<'FAULTS'
# RAM cell 0x1235 reads bit 4 as 1
ram-cell addr=0x1235 high=0x10
FAULTS
start --sim --board 0 --faults "$work/ram-cell.txt"
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_test 115
win=$(wait_window 'Ошибка теста')
sleep 0.5
shoot_dialog "$win" ram-error.png
stop

# Two lines of port 2 shorted together: the bus test (first button) stops
# when the zero walks onto the first of them.
cat >"$work/bus-short.txt" <<'FAULTS'
# lines 2.3 and 2.4 of the test processor shorted
port-short 2.3 2.4
FAULTS
start --sim --board 0 --faults "$work/bus-short.txt"
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_test 33
win=$(wait_window 'не прошел')
sleep 0.5
shoot_dialog "$win" bus-port-image.png
stop

# "Вид" → "Цвет фона": Qt's own colour chooser, in Russian through Qt's
# translations.
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
xdotool mousemove 300 10 click 1
sleep 0.3
xdotool mousemove 320 116 click 1
win=$(wait_window '^Цвет фона$')
sleep 0.5
shoot_dialog "$win" colour-chooser.png 40
stop

# "Диагностика" → "Диагностика по типам неисправностей...": the list of the
# sample scenario file; OK on its first line ("Не проходит тест ОЗУ") prepares
# the link as a test would and starts RAM_ERROR.
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
xdotool mousemove 152 10 click 1
sleep 0.3
xdotool mousemove 250 145 click 1
win=$(wait_window 'Выберите тип')
sleep 0.5
shoot_dialog "$win" fault-types.png 40
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + WIDTH - 137)) $((Y + HEIGHT - 23)) click 1
continue_start_dialog
# The first probe step: the point marked, "Установите щуп пробника на" and
# the history with the step now open.
step=$(wait_window '^Диагностика$')
sleep 0.8
import -window root "$out/diagnostics-step.png"
stop

# "Тест цепей периферии" (the button after the keyboard test), "Нет" to the
# probe question: the first circuit's dialog in a corner of the client area,
# away from the marked X5/1. Then a board whose phase 1 output is pulled low
# by the indicator control: "Пуск", and the cross-check fails naming it.
start_periphery() {
    start_test 648
    local box X Y WIDTH HEIGHT SCREEN WINDOW
    box=$(wait_window '^Тест периферии\.\.\.$')
    sleep 0.3
    eval "$(xdotool getwindowgeometry --shell "$box")"
    xdotool mousemove $((X + WIDTH - 72)) $((Y + HEIGHT - 22)) click 1
}
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_periphery
wait_window '^Тест периферии$' >/dev/null
sleep 0.8
import -window root "$out/circuit-dialog.png"
stop

cat >"$work/coupled.txt" <<'FAULTS'
# the stepper phase 1 output X5/1 follows the indicator control X3/9 down
circuit-coupled X5/1 X3/9
FAULTS
start --sim --board 0 --faults "$work/coupled.txt"
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
start_periphery
win=$(wait_window '^Тест периферии$')
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + 50)) $((Y + HEIGHT - 22)) click 1
win=$(wait_window 'Ошибка теста периферии')
sleep 0.5
shoot_dialog "$win" circuit-cross-error.png 60
# The same start with the oscilloscope chosen ("Диагностика" → "Устройство
# контроля сигналов" → "Осциллограф", by keys in the open menu): the
# oscilloscope step with the reference oscillogram drawn from the step file.
start --sim --board 0
wait_window 'kia_nelta2' >/dev/null
sleep 1.5
xdotool mousemove 152 10 click 1
sleep 0.3
xdotool key Up Up Right Down Return
sleep 0.3
xdotool mousemove 152 10 click 1
sleep 0.3
xdotool mousemove 250 145 click 1
win=$(wait_window 'Выберите тип')
sleep 0.5
eval "$(xdotool getwindowgeometry --shell "$win")"
xdotool mousemove $((X + WIDTH - 137)) $((Y + HEIGHT - 23)) click 1
continue_start_dialog
step=$(wait_window '^Диагностика$')
sleep 0.8
import -window root "$out/oscilloscope-step.png"
stop

echo "screenshots written to $out"
