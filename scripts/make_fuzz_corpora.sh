#!/usr/bin/env bash
# Writes the fuzzers' seed corpora into fuzz/corpus/<name>/ from fuzz/make_seeds.cpp, built
# in the fuzzing build folder (default build-fuzz). The corpora are committed; run this only
# to change them on purpose.
#   scripts/make_fuzz_corpora.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build-fuzz}"
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUENTARO_FUZZ=ON -DQUENTARO_WERROR=ON -DQUENTARO_TESTS=OFF -DQUENTARO_BENCH=OFF >/dev/null
nice cmake --build "$build" --target fuzz_seeds -j 2
rm -rf fuzz/corpus
ASAN_OPTIONS=detect_leaks=0 "$build/fuzz/fuzz_seeds" fuzz/corpus
for dir in fuzz/corpus/*/; do
  echo "$(ls "$dir" | wc -l) seeds in $dir"
done
