#!/bin/sh
# Builds the libFuzzer targets with clang in build-fuzz and runs each of them,
# one after the other, for SECONDS seconds (default 60) on one core, from its
# seed corpus (copied, so the tree's seeds stay as they are). Prints the
# executions of every target; crashes are left in build-fuzz/artifacts/.
#   fuzz/run.sh [SECONDS] [TARGET...]
# KIA_FUZZ_RUNS=N ends a target after N executions if that comes first.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
src=$(dirname "$here")
out="$src/build-fuzz"
seconds=${1:-60}
[ $# -gt 0 ] && shift
targets=${*:-"pointsfile versionlist settings faultscript cp1251 linkreplies"}

if ! command -v clang++-14 >/dev/null 2>&1 ||
   [ ! -e /usr/lib/llvm-14/lib/clang/14.0.6/lib/linux/libclang_rt.fuzzer-x86_64.a ]; then
    echo "installing clang-14 and libclang-rt-14-dev" >&2
    apt-get install -y clang-14 libclang-rt-14-dev >&2
fi

launcher=
command -v ccache >/dev/null 2>&1 && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
cmake -S "$src" -B "$out" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DCMAKE_CXX_COMPILER=clang++-14 -DKIA_FUZZ=ON $launcher >/dev/null
names=
for t in $targets; do names="$names fuzz_$t"; done
cmake --build "$out" -j2 --target $names

mkdir -p "$out/artifacts"
# Allocation stacks two frames deep and a 64 MB quarantine: recording full
# allocation stacks costs about half the speed of the allocation-heavy parsers,
# and the default quarantine lets a run grow to a gigabyte. Replaying an
# artifact (build-fuzz/fuzz/fuzz_T ARTIFACT) without these gives full stacks.
export ASAN_OPTIONS="${ASAN_OPTIONS:-malloc_context_size=2:quarantine_size_mb=64}"
status=0
for t in $targets; do
    corpus="$out/corpus/$t"
    mkdir -p "$corpus"
    cp -n "$here/corpus/$t/"* "$corpus/" 2>/dev/null || true
    log="$out/fuzz_$t.log"
    # One job on one core; the final statistics give the executions.
    if ! "$out/fuzz/fuzz_$t" -max_total_time="$seconds" -runs="${KIA_FUZZ_RUNS:--1}" -print_final_stats=1 -timeout=10 \
            -rss_limit_mb=2048 -max_len=4096 -artifact_prefix="$out/artifacts/$t-" \
            "$corpus" >"$log" 2>&1; then
        status=1
        echo "fuzz_$t: FAILED, see $log" >&2
    fi
    runs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    speed=$(sed -n 's/^stat::average_exec_per_sec: *//p' "$log" | tail -n 1)
    echo "fuzz_$t: ${runs:-?} executions in ${seconds} s (${speed:-?}/s)"
done
exit $status
