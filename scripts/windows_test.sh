#!/usr/bin/env bash
# Builds the program for 64-bit Windows with mingw-w64 and runs it under wine on a private
# Xvfb server: the smoke test of tests/display/wine/, built natively in the given build
# folder, drives it through XTEST and reads the screen back.
#   scripts/windows_test.sh NATIVE_BUILD_DIR [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
native="$1"
runs="${2:-1}"

bash scripts/build_windows.sh -DQUENTARO_WERROR=ON
cmake --build "$native" --target quentaro_wine_tests

# A prefix of the build's own, made once; no dialogs, no downloads, no chatter.
export WINEPREFIX="$PWD/build-windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  DISPLAY= wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix was not created"; exit 1; }

# The backend's own tests. Wine's exit status alone proves nothing (a program it cannot run
# ends with 0 too): the framework's verdict must be there.
start=$(date +%s)
log="$PWD/build-windows/windows-tests.log"
status=0
DISPLAY= wine build-windows/tests/windows/quentaro_windows_tests.exe >"$log" 2>&1 || status=$?
wineserver -k 2>/dev/null || true
wineserver -w
if [ $status -ne 0 ] || ! grep -q "^\[  PASSED  \]" "$log" || grep -q "^\[  FAILED  \]" "$log"; then
  cat "$log"
  echo "Windows backend tests FAILED"
  exit 1
fi
echo "Windows backend tests: $(grep "^\[  PASSED  \]" "$log") in $(( $(date +%s) - start )) s"

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
