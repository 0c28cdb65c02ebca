#!/usr/bin/env bash
# Builds the libFuzzer harnesses with clang (AddressSanitizer + UndefinedBehaviorSanitizer)
# and runs each for SECONDS, one after another, from its committed seeds plus what earlier
# runs found (kept in BUILD_DIR/corpus/<name>, never in the repository). A crash, a leak, a
# sanitizer report or a harness check stops that run; its input is kept in
# BUILD_DIR/artifacts/<name>/ and the script ends with status 1 after the rest have run.
#   scripts/run_fuzzers.sh SECONDS [NAME...]
#     (names: bmp jpeg load_bitmap overworld console folder thumbnail)
# Environment: BUILD_DIR (default build-fuzz), FUZZ_RUNS (stop at this many executions
# instead of the time), FUZZ_NICE (nice level, default 10), FUZZ_JOBS (one run spread over
# this many processes, libFuzzer's fork mode: the executions of all of them count).
set -euo pipefail
cd "$(dirname "$0")/.."
seconds="${1:?usage: scripts/run_fuzzers.sh SECONDS [NAME...]}"
shift
names=("$@")
[ ${#names[@]} -gt 0 ] || names=(bmp jpeg load_bitmap overworld console folder thumbnail)
build="${BUILD_DIR:-build-fuzz}"
level="${FUZZ_NICE:-10}"

command -v clang++ >/dev/null || { echo "clang++ is missing: run scripts/setup.sh first" >&2; exit 1; }
CC=clang CXX=clang++ cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo \
  -DQUENTARO_FUZZ=ON -DQUENTARO_WERROR=ON -DQUENTARO_TESTS=OFF -DQUENTARO_BENCH=OFF >/dev/null
# The build's output is shown only when it fails, so a broken harness is seen at once.
if ! out=$(nice -n "$level" cmake --build "$build" --target fuzzers -j 2 2>&1); then
  printf '%s\n' "$out" | grep -v '^\[' >&2
  echo "the fuzzers did not build" >&2
  exit 1
fi

root="$(pwd)"
build="$(cd "$build" && pwd)"
failed=()
for name in "${names[@]}"; do
  corpus="$build/corpus/$name"
  artifacts="$build/artifacts/$name"
  log="$build/logs/$name.log"
  mkdir -p "$corpus" "$artifacts" "$(dirname "$log")"
  limit=(-max_total_time="$seconds")
  [ -n "${FUZZ_RUNS:-}" ] && limit=(-runs="$FUZZ_RUNS")
  [ -n "${FUZZ_JOBS:-}" ] && limit+=(-fork="$FUZZ_JOBS")
  started=$(date +%s)
  # Standard error of the program itself (its notices) is closed; the fuzzer's and the
  # sanitizers' reports still reach the log.
  status=0
  (cd "$artifacts" && ASAN_OPTIONS=detect_leaks=1:allocator_may_return_null=1 \
    nice -n "$level" "$build/fuzz/${name}_fuzz" "${limit[@]}" -close_fd_mask=2 \
    -rss_limit_mb=2048 -malloc_limit_mb=256 -timeout=20 -print_final_stats=1 -artifact_prefix="$artifacts/" \
    "$corpus" "$root/fuzz/corpus/$name" >"$log" 2>&1) || status=$?
  runs=$(grep -o 'stat::number_of_executed_units: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  rate=$(grep -o 'stat::average_exec_per_sec: *[0-9]*' "$log" | grep -o '[0-9]*$' || true)
  if [ -z "$runs" ]; then  # fork mode: the parent's last count, over the whole run's time
    runs=$(grep -oE '^#[0-9]+:' "$log" | tail -1 | tr -d '#:' || true)
    [ -n "$runs" ] && rate=$((runs / ($(date +%s) - started + 1)))
  fi
  cov=$(grep -oE 'cov: [0-9]+' "$log" | tail -1 || true)
  echo "$name: ${runs:-?} executions, ${rate:-?}/s, $cov, corpus $(ls "$corpus" | wc -l)"
  if [ "$status" -ne 0 ]; then
    failed+=("$name")
    grep -E 'ERROR|SUMMARY|Test unit written|deadly signal' "$log" | head -8 || true
    echo "  full report: $log"
  fi
done
if [ ${#failed[@]} -gt 0 ]; then
  echo "fuzzers that failed: ${failed[*]}"
  exit 1
fi
