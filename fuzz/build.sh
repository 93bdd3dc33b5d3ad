#!/bin/sh
# Builds the scenario loader's fuzz target with clang, libFuzzer, ASan and
# UBSan, outside the normal build: sh fuzz/build.sh [out-dir]; then
# out-dir/scenariofuzzer -runs=10000000 -max_len=65536 out-dir/corpus
set -e
src=$(cd "$(dirname "$0")/.." && pwd)
out=${1:-$src/build-fuzz}
mkdir -p "$out/corpus"
flags="-std=c++20 -g -O1 -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined -fPIC"
qt="$(pkg-config --cflags --libs Qt6Core)"
clang++-14 $flags -DQT_NO_CAST_FROM_ASCII -I"$src" \
    "$src/fuzz/scenariofuzzer.cpp" "$src/diagn/scenario.cpp" "$src/diagn/faulttypelist.cpp" \
    "$src/core/cp1251.cpp" $qt -o "$out/scenariofuzzer"
clang++-14 $flags -DQT_NO_CAST_FROM_ASCII -I"$src" \
    "$src/fuzz/stepfilefuzzer.cpp" "$src/diagn/stepfile.cpp" "$src/diagn/oscillogram.cpp" \
    "$src/core/cp1251.cpp" $qt -o "$out/stepfilefuzzer"
for f in "$src"/fuzz/seeds/*; do cp "$f" "$out/corpus/"; done
echo "$out/scenariofuzzer"
echo "$out/stepfilefuzzer"
