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

display_number=88
default_margin=40
. "$(dirname "$0")/screenshot-common.sh"

# Tool bar button n (0 the bus test; every test button of board types 0..3 is
# shown, 41 pixels apart), then "Продолжить" of the start dialog.
start_test() {
    xdotool mousemove $((33 + 41 * $1)) 44 click 1
    continue_start_dialog
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
