#!/usr/bin/env bash
# Sets up, builds, and runs the whole test suite: unit and display tests, then the unit
# tests again under AddressSanitizer and UndefinedBehaviorSanitizer, then each fuzzer for
# about 30 seconds (FUZZ_SECONDS to change it; scripts/run_fuzzers.sh runs them longer), then
# the Windows build under wine.
set -euo pipefail
cd "$(dirname "$0")"
jobs=$(nproc)
bash scripts/setup.sh build -DQUENTARO_WERROR=ON
bash scripts/setup.sh build-sanitize -DQUENTARO_WERROR=ON -DQUENTARO_SANITIZE=ON -DQUENTARO_BENCH=OFF
(cd build && ctest --output-on-failure -j "$jobs")
(cd build-sanitize && ASAN_OPTIONS=detect_leaks=1 ctest --output-on-failure -j "$jobs" -L unit)
bash scripts/run_fuzzers.sh "${FUZZ_SECONDS:-30}"
bash scripts/windows_test.sh build
