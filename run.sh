#!/usr/bin/env bash
# Sets up, builds, and starts the program in the build folder (beside its pictures).
set -euo pipefail
cd "$(dirname "$0")"
bash scripts/setup.sh build
cd build
exec ./quentaro
