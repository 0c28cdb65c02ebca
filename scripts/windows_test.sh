#!/usr/bin/env bash
# Builds the program for 64-bit Windows with mingw-w64 and runs under wine the Windows
# backend's tests, the unit tests on the platform double, and the program on a private Xvfb
# server: the smoke test of tests/display/wine/, built natively in the given build folder,
# drives it through XTEST and reads the screen back.
#   scripts/windows_test.sh NATIVE_BUILD_DIR [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
native="$1"
runs="${2:-1}"

# The cross-built unit tests read the default picture set from the native build.
bash scripts/build_windows.sh -DQUENTARO_WERROR=ON -DQUENTARO_NATIVE_BUILD="$(cd "$native" && pwd)"
cmake --build build-windows --target quentaro_double_tests
cmake --build "$native" --target quentaro_wine_tests

# A prefix of the build's own, made once; no dialogs, no downloads, no chatter.
export WINEPREFIX="$PWD/build-windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  DISPLAY= wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix was not created"; exit 1; }

# Wine's exit status alone proves nothing (a program it cannot run ends with 0 too): the
# framework's verdict must be there.
run_tests() {  # NAME PROGRAM
  local start status=0 log="$PWD/build-windows/$(basename "$2" .exe).log"
  start=$(date +%s)
  DISPLAY= wine "$2" >"$log" 2>&1 || status=$?
  wineserver -k 2>/dev/null || true
  wineserver -w
  if [ $status -ne 0 ] || ! grep -q "^\[  PASSED  \]" "$log" || grep -q "^\[  FAILED  \]" "$log"; then
    cat "$log"
    echo "$1 FAILED"
    exit 1
  fi
  local passed skipped
  passed=$(grep -o "^\[  PASSED  \] [0-9]*" "$log" | grep -o "[0-9]*$")
  skipped=$(grep -o "^\[  SKIPPED \] [0-9]*" "$log" | grep -o "[0-9]*$" || echo 0)
  # Skipped: tests that make JPEG files or very deep folders, which this build cannot.
  echo "$1: $passed passed, $skipped skipped, in $(( $(date +%s) - start )) s"
}
# The backend's own tests, then the unit tests on the platform double.
run_tests "Windows backend tests" build-windows/tests/windows/quentaro_windows_tests.exe
run_tests "Unit tests under wine" build-windows/tests/windows/quentaro_double_tests.exe

export QUENTARO_WINDOWS_PROGRAM="$PWD/build-windows/quentaro.exe"
export QUENTARO_WINE="$(command -v wine)"
for ((run = 1; run <= runs; ++run)); do
  start=$(date +%s)
  status=0
  "$native/tests/quentaro_wine_tests" || status=$?
  # The server and the desktop process outlive the program by a few seconds: end them, so the
  # next run starts as the first did.
  wineserver -k 2>/dev/null || true
  wineserver -w
  echo "wine smoke run $run of $runs: $([ $status -eq 0 ] && echo passed || echo FAILED) in $(( $(date +%s) - start )) s"
  [ $status -eq 0 ] || exit $status
done
