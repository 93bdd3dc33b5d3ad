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

display_number=89
default_margin=40
. "$(dirname "$0")/screenshot-common.sh"

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
continue_start_dialog
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
