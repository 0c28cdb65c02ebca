#!/usr/bin/env bash
# Installs what a fresh Debian 12 machine lacks (as root; otherwise prints the line to
# run and stops), then configures and builds into the given folder.
#   scripts/setup.sh BUILD_DIR [extra cmake options...]
set -euo pipefail
cd "$(dirname "$0")/.."

# libglib2.0-dev serves the tests only: the thumbnail cache's file names are checked against GLib.
packages=(g++ cmake ninja-build pkg-config
  libx11-dev libxtst-dev libxrandr-dev libxext-dev
  libgl1-mesa-dev libglu1-mesa-dev libgl1-mesa-dri libglx-mesa0
  libturbojpeg0-dev libjpeg62-turbo-dev libpng-dev libmd-dev
  libgtest-dev libgmock-dev libbenchmark-dev libglib2.0-dev
  xvfb xdotool zlib1g-dev dpkg-dev desktop-file-utils groff-base
  clang libclang-rt-dev)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
  else
    echo "Missing packages. Run as root:"
    echo "  apt-get update && apt-get install -y ${missing[*]}"
    exit 1
  fi
fi

build="$1"
shift
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo "$@" >/dev/null
cmake --build "$build"
