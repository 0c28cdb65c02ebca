#!/usr/bin/env bash
# The long run, by hand: builds the program and the soak driver into BUILD_DIR (default
# build), then runs the real program on its own Xvfb server for SECONDS (default 1700: about
# 100,000 passes of its 60-a-second loop) under scripted keys, right presses and player
# starts. It prints a line every SAMPLE seconds (resident memory, open descriptors, children
# alive and unreaped) and a summary; status 1 when memory or descriptors grew, children were
# left behind, or the program ended by itself.
#   scripts/soak.sh [SECONDS] [SAMPLE]
set -euo pipefail
cd "$(dirname "$0")/.."
build="${BUILD_DIR:-build}"
[ -f "$build/build.ninja" ] || bash scripts/setup.sh "$build" -DQUENTARO_WERROR=ON
nice cmake --build "$build" --target quentaro_soak -j 2 >/dev/null
exec "$build/tests/quentaro_soak" "${1:-1700}" "${2:-10}"
