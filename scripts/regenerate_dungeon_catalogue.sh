#!/usr/bin/env bash
# Rewrites tests/dungeon/dungeon_catalogue.txt from the current dungeon generator. Run it only
# after a change that is meant to alter the generated dungeons, and commit the new catalogue
# with that change; the diff shows which levels changed.
#   scripts/regenerate_dungeon_catalogue.sh [BUILD_DIR]   (default: build)
set -euo pipefail
cd "$(dirname "$0")/.."
build="${1:-build}"
cmake --build "$build" --target quentaro_unit_tests
QUENTARO_WRITE_DUNGEON_CATALOGUE="$PWD/tests/dungeon/dungeon_catalogue.txt" \
  "$build/tests/quentaro_unit_tests" --gtest_filter='DungeonCatalogue.*' >/dev/null
git --no-pager diff --stat -- tests/dungeon/dungeon_catalogue.txt
