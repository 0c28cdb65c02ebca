#!/usr/bin/env bash
# The Debian package as apt would see it: made with cpack from the build folder given as
# the one argument, then its control data (run-time libraries, the recommended player and
# opener) and its files checked; the menu entries and manual pages are validated too.
set -euo pipefail
build=$1
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAILED: $*"
  failures=$((failures + 1))
}

if ! cpack -G DEB --config "$build/CPackConfig.cmake" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log"
  exit 1
fi
deb=$(find "$work/out" -maxdepth 1 -name 'quentaro_*.deb')
[ -n "$deb" ] || { cat "$work/cpack.log"; echo "FAILED: no package made"; exit 1; }
info=$(dpkg-deb --info "$deb")
echo "$info"
depends=$(sed -n 's/^ Depends: //p' <<<"$info")
recommends=$(sed -n 's/^ Recommends: //p' <<<"$info")
# X11 with the extensions the program uses, OpenGL with GLX and GLU, TurboJPEG, and libpng and
# libmd for the thumbnail cache.
for package in libx11-6 libxtst6 libxrandr2 libopengl0 libglx0 libglu1-mesa libturbojpeg0 \
  libpng16-16 libmd0; do
  grep -Eq "(^|[ ,|])$package( |,|$)" <<<"$depends" || fail "Depends lacks $package: $depends"
done
for package in mpv xdg-utils; do
  grep -Eq "(^|[ ,])$package( |,|$)" <<<"$recommends" || fail "Recommends lacks $package"
done
grep -q '^ Package: quentaro$' <<<"$info" || fail "package name"

contents=$(dpkg-deb --contents "$deb")
for file in ./usr/bin/quentaro ./usr/share/quentaro/kelvo ./usr/share/quentaro/map/ \
  ./usr/share/quentaro/bmp_land/plain.bmp ./usr/share/quentaro/bmp_cube/DSC3.bmp \
  ./usr/share/applications/quentaro.desktop ./usr/share/man/man1/quentaro.1 \
  ./usr/share/icons/hicolor/64x64/apps/quentaro.png \
  ./usr/share/icons/hicolor/256x256/apps/quentaro.png \
  ./usr/bin/korvis ./usr/share/applications/korvis.desktop ./usr/share/man/man1/korvis.1 \
  ./usr/share/icons/hicolor/64x64/apps/korvis.png; do
  grep -Eq " $file( |$)" <<<"$contents" || fail "the package lacks $file"
done
grep -Eq '^-rwxr-xr-x .* \./usr/share/quentaro/kelvo$' <<<"$contents" || fail "kelvo not executable"
pictures=$(grep -c '\./usr/share/quentaro/bmp_.*\.bmp$' <<<"$contents" || true)
[ "$pictures" -gt 190 ] || fail "only $pictures pictures in the package"

# The files as installed, and those of programs still to be installed, checked by the
# desktop's and the manual's own tools.
dpkg-deb --extract "$deb" "$work/root"
packaging=$(cd "$(dirname "$0")/../../packaging" && pwd)
for entry in "$work"/root/usr/share/applications/*.desktop "$packaging"/*.desktop; do
  desktop-file-validate "$entry" || fail "$(basename "$entry") does not validate"
done
for page in "$work"/root/usr/share/man/man1/*.1 "$packaging"/*.1; do
  warnings=$(groff -man -ww -z "$page" 2>&1)
  [ -z "$warnings" ] || fail "$(basename "$page"): $warnings"
done
[ "$("$work/root/usr/bin/quentaro" --version)" = "quentaro $(dpkg-deb --field "$deb" Version)" ] ||
  fail "the program's version differs from the package's"
[ "$("$work/root/usr/bin/korvis" --version)" = "korvis $(dpkg-deb --field "$deb" Version)" ] ||
  fail "the game's version differs from the package's"

if [ "$failures" -gt 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "package checks passed"
