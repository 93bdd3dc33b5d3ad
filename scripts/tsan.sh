#!/bin/sh
# Builds the service operations' tests with ThreadSanitizer in build-tsan and
# runs them: the workers on their own thread against the simulated bench, the
# progress dialog and the Сервис commands from the main window. Any report of
# ThreadSanitizer fails the run (halt_on_error), so a clean exit means none.
# scripts/tsan.supp keeps out what Debian's uninstrumented Qt does inside its
# own libraries (see the file); nothing of our code is suppressed.
#   scripts/tsan.sh [CTEST-REGEX]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$(dirname "$here")
out="$src/build-tsan"
tests=${1:-"tst_operationthread|tst_controllersoftware|tst_datamemory|tst_datamemorycommands|tst_softwareupdate|tst_execprogress|tst_servicemenu"}

launcher=
command -v ccache >/dev/null 2>&1 && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=Debug -DKIA_SANITIZE=thread $launcher >/dev/null
targets=$(echo "$tests" | tr '|' ' ')
cmake --build "$out" -j2 --target $targets
cd "$out"
TSAN_OPTIONS="halt_on_error=1 second_deadlock_stack=1 suppressions=$here/tsan.supp ${TSAN_OPTIONS:-}" \
    ctest -R "$tests" --output-on-failure --timeout 900
