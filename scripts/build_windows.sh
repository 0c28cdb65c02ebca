#!/usr/bin/env bash
# Builds the programs for 64-bit Windows into build-windows/ with the mingw-w64 cross
# compiler (installing it first if missing), and their package with cpack: the ZIP
# build-windows/quentaro-<version>-windows-x64.zip and, with Debian's nsis, the installer
# build-windows/quentaro-<version>-windows-x64.exe.
#   scripts/build_windows.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup_windows.sh
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build-windows
(cd build-windows && cpack >cpack.log 2>&1) || { cat build-windows/cpack.log; exit 1; }
grep -o "package: .* generated" build-windows/cpack.log
