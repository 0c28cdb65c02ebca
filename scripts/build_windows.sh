#!/usr/bin/env bash
# Builds the program for 64-bit Windows into build-windows/ (quentaro.exe and every tool that
# is not Linux-only) with the mingw-w64 cross compiler, installing it first if missing.
#   scripts/build_windows.sh [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup_windows.sh
cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake \
  -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build build-windows
