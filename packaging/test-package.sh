#!/usr/bin/env bash
# Builds the Debian package from a configured build folder, unpacks it into a
# scratch root (dpkg-deb -x) and checks that every file is where the desktop
# entry, the launcher and the programs look for it.
#   packaging/test-package.sh BUILD_DIR
set -uo pipefail
build=$(cd "${1:?build folder}" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
passed=0
failed=0
check() { # check "what" command...
    local what=$1
    shift
    if "$@" >"$tmp/last.log" 2>&1; then
        passed=$((passed + 1))
    else
        failed=$((failed + 1))
        echo "FAIL: $what"
        sed 's/^/    /' "$tmp/last.log" | head -20
    fi
}

if ! cpack --config "$build/CPackConfig.cmake" -G DEB -B "$tmp/out" >"$tmp/cpack.log" 2>&1; then
    cat "$tmp/cpack.log"
    echo "0 passed, 1 failed"
    exit 1
fi
deb=$(ls "$tmp"/out/*.deb)
root=$tmp/root
dpkg-deb -x "$deb" "$root"
dpkg-deb -f "$deb" Package Version Depends >"$tmp/control"

check "package name" grep -qx 'Package: kia-nelta2' "$tmp/control"
check "depends on Qt SerialPort" grep -q 'libqt6serialport6' "$tmp/control"
check "depends on the SQLite driver of the journal" grep -q 'libqt6sql6-sqlite' "$tmp/control"
for p in kia_nelta2 kia-bench kia-nelta2-desktop; do
    check "usr/bin/$p is executable" test -x "$root/usr/bin/$p"
done

desktop=$root/usr/share/applications/kia-nelta2.desktop
check "desktop entry" test -f "$desktop"
# Every Exec line names a program the package puts on the PATH.
while read -r exec; do
    check "desktop Exec '$exec' is installed" test -x "$root/usr/bin/${exec%% *}"
done < <(sed -n 's/^Exec=//p' "$desktop")
icon=$(sed -n 's/^Icon=//p' "$desktop")
check "desktop Icon '$icon' is in the hicolor theme" \
    bash -c "ls '$root'/usr/share/icons/hicolor/*/apps/'$icon'.png"
check "icon is a PNG" bash -c "file '$root'/usr/share/icons/hicolor/*/apps/'$icon'.png | grep -q PNG"
if command -v desktop-file-validate >/dev/null; then
    check "desktop entry is valid" desktop-file-validate "$desktop"
fi

samples=$root/usr/share/kia-nelta2/data
for f in kia_nelta2.dot versions.txt testcpu.052; do
    check "sample $f" test -s "$samples/$f"
done
check "no settings file among the samples" test ! -e "$samples/kia_nelta2.cfg"
check "manual page of kia-bench" bash -c "zcat '$root/usr/share/man/man1/kia-bench.1.gz' | head -1 | grep -q '^.TH KIA-BENCH 1'"
check "manual page lists the commands" bash -c "zcat '$root/usr/share/man/man1/kia-bench.1.gz' | grep -q 'read-mem'"

# The launcher seeds a per-user working folder and never overwrites it.
export HOME=$tmp/home QT_QPA_PLATFORM=offscreen XDG_RUNTIME_DIR=$tmp/runtime
mkdir -p "$HOME" "$XDG_RUNTIME_DIR"
chmod 700 "$XDG_RUNTIME_DIR"
work=$HOME/kia_nelta2
check "launcher starts the program" "$root/usr/bin/kia-nelta2-desktop" --help
check "working folder seeded" cmp "$samples/kia_nelta2.dot" "$work/kia_nelta2.dot"
check "versions.txt seeded" cmp "$samples/versions.txt" "$work/versions.txt"
printf 'edited by the engineer\r\n' >"$work/versions.txt"
rm -f "$work/v301.prg"
check "second start" "$root/usr/bin/kia-nelta2-desktop" --help
check "an edited file is kept" grep -q 'edited by the engineer' "$work/versions.txt"
check "a missing sample is copied in again" cmp "$samples/v301.prg" "$work/v301.prg"

# The installed kia-bench works from the working folder on the simulated bench.
check "kia-bench ping on the simulated bench" \
    bash -c "cd '$work' && '$root/usr/bin/kia-bench' --board 0 --port sim ping"
check "kia-bench test bus on the simulated bench" \
    bash -c "cd '$work' && '$root/usr/bin/kia-bench' --board 0 --port sim test bus"

echo "package: $(basename "$deb")"
echo "$passed passed, $failed failed"
[ "$failed" -eq 0 ]
