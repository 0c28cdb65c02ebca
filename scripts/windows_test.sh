#!/usr/bin/env bash
# Builds the Windows programs and their package (scripts/build_windows.sh), unpacks the ZIP
# into a fresh folder whose path holds a space and an accented letter, and runs under wine:
# the Windows backend's tests, the unit tests on the platform double, then the package's
# programs on a private Xvfb server, driven by the smoke tests of tests/display/wine/ (built
# natively in the given build folder) through XTEST with the screen read back.
#   scripts/windows_test.sh NATIVE_BUILD_DIR [RUNS]
set -euo pipefail
cd "$(dirname "$0")/.."
native="$1"
runs="${2:-1}"

bash scripts/build_windows.sh -DQUENTARO_WERROR=ON
cmake --build build-windows --target quentaro_double_tests
cmake --build "$native" --target quentaro_wine_tests

# A prefix of the build's own, made once; no dialogs, no downloads, no chatter. Wine reads
# the names of Unix files in the locale's encoding: UTF-8, as the folders below are named.
export LC_ALL=C.UTF-8
export WINEPREFIX="$PWD/build-windows/wineprefix" WINEARCH=win64 WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml="
if [ ! -f "$WINEPREFIX/system.reg" ]; then
  DISPLAY= wine wineboot -i >/dev/null 2>&1 || true
  wineserver -w
fi
[ -f "$WINEPREFIX/system.reg" ] || { echo "wine prefix was not created"; exit 1; }
# Xvfb has no window manager, and wine leaves the keyboard focus of the windows it would have
# one manage to it: the X focus would stay with the pointer, and a key typed while the pointer
# is elsewhere would reach no program. Unmanaged, a window wine activates gets the X focus too,
# as the active window has the keys on a Windows desktop.
if ! grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg"; then
  DISPLAY= wine reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /d N /f >/dev/null 2>&1
  wineserver -w
fi
grep -q '^"Managed"="N"' "$WINEPREFIX/user.reg" || { echo "wine keeps managing windows"; exit 1; }

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

# The package as a user unpacks it, somewhere its path is not plain ASCII.
zips=(build-windows/quentaro-*-windows-x64.zip)
[ ${#zips[@]} -eq 1 ] && [ -f "${zips[0]}" ] || { echo "no single package: ${zips[*]}"; exit 1; }
zip="$PWD/${zips[0]}"
unpacked="$PWD/build-windows/unpacked/Café packages"
rm -rf "$PWD/build-windows/unpacked"
mkdir -p "$unpacked"
(cd "$unpacked" && cmake -E tar xf "$zip")
export QUENTARO_WINDOWS_FOLDER="$unpacked/$(basename "$zip" .zip)"
export QUENTARO_MPV_STANDIN="$PWD/build-windows/tests/windows/mpv_standin.exe"
export QUENTARO_WINE="$(command -v wine)"
for name in quentaro.exe korvis.exe kelvo.exe README.txt RUNTIME-LICENSES.txt map \
  bmp_land/plain.bmp bmp_cube/DSC3.bmp; do
  [ -e "$QUENTARO_WINDOWS_FOLDER/$name" ] || { echo "the package lacks $name"; exit 1; }
done

for ((run = 1; run <= runs; ++run)); do
  start=$(date +%s)
  status=0
  "$native/tests/quentaro_wine_tests" || status=$?
  # The server and the desktop process outlive the programs by a few seconds: end them, so
  # the next run starts as the first did.
  wineserver -k 2>/dev/null || true
  wineserver -w
  echo "wine smoke run $run of $runs: $([ $status -eq 0 ] && echo passed || echo FAILED) in $(( $(date +%s) - start )) s"
  [ $status -eq 0 ] || exit $status
done
