#!/usr/bin/env bash
# Installs what the Windows build and its smoke test need on a Debian 12 machine (as root;
# otherwise prints the line to run and stops): the mingw-w64 cross compiler for x86-64, nsis
# for the installer and wine to run the result.
set -euo pipefail

packages=(g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev binutils-mingw-w64-x86-64 googletest
  nsis wine wine64)
missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  if [ "$(id -u)" -eq 0 ]; then
    echo "Installing: ${missing[*]}"
    apt-get update -qq
    DEBIAN_FRONTEND=noninteractive apt-get install -y -qq --no-install-recommends \
      "${missing[@]}" >/dev/null
  else
    echo "Missing packages. Run as root:"
    echo "  apt-get update && apt-get install -y --no-install-recommends ${missing[*]}"
    exit 1
  fi
fi
