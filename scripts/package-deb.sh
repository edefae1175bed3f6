#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the Debian package kavi_VERSION_ARCH.deb: an optimised build (or the build folder given),
# installed with prefix /usr into a staging folder, its library dependencies computed by
# dpkg-shlibdeps, then packed by dpkg-deb.
# Usage: scripts/package-deb.sh [BUILD-DIR [OUT-DIR]]
#   BUILD-DIR  a configured and built build folder to package; without it build-release/ is
#              configured as Release and built first
#   OUT-DIR    where the package is written (default: the current folder)
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out_dir=$(realpath -m "${2:-.}")

if [ $# -ge 1 ]; then
  build=$(realpath "$1")
else
  bash "$source_dir/scripts/install-deps.sh"
  build=$source_dir/build-release
  cmake -S "$source_dir" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
  cmake --build "$build" -j"$(nproc)"
fi
[ -f "$build/CMakeCache.txt" ] || { echo "$build is not a build folder" >&2; exit 1; }
for tool in dpkg-deb dpkg-shlibdeps; do
  command -v "$tool" >/dev/null || { echo "$tool is missing: install dpkg-dev (scripts/install-deps.sh)" >&2; exit 1; }
done

version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
[ -n "$version" ] || { echo "no project version in $build/CMakeCache.txt" >&2; exit 1; }
arch=$(dpkg --print-architecture)

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
stage=$work/stage
DESTDIR=$stage cmake --install "$build" --prefix /usr --strip >/dev/null
# Whatever the umask was, the installed tree is readable by everyone and writable by root only.
chmod -R u+rwX,go+rX,go-w "$stage"

# dpkg-shlibdeps wants to run from a source tree with debian/control; a minimal one is enough.
mkdir -p "$work/src/debian"
printf 'Source: kavi\n\nPackage: kavi\nArchitecture: any\n' >"$work/src/debian/control"
executables=()
while IFS= read -r -d '' f; do executables+=("$f"); done < <(find "$stage/usr/bin" -type f -perm -u+x -print0)
[ ${#executables[@]} -gt 0 ] || { echo "the install put no programs in usr/bin" >&2; exit 1; }
shlibs=$(cd "$work/src" && dpkg-shlibdeps -O "${executables[@]}" 2>"$work/shlibdeps.log") ||
  { cat "$work/shlibdeps.log" >&2; exit 1; }
depends=$(sed -n 's/^shlibs:Depends=//p' <<<"$shlibs")
[ -n "$depends" ] || { echo "dpkg-shlibdeps found no dependencies" >&2; exit 1; }
# Qt loads these at run time, so no linked library names them: the SVG reader draws the icons, the
# image-format plugins read and write TIFF and WebP.
depends+=", libqt6svg6, qt6-image-formats-plugins"

installed_size=$(du -sk --apparent-size "$stage" | cut -f1)
mkdir -p "$stage/DEBIAN"
cat >"$stage/DEBIAN/control" <<EOF
Package: kavi
Version: $version
Architecture: $arch
Maintainer: Kavi developers <support@kavi-covers.example>
Installed-Size: $installed_size
Depends: $depends
Recommends: xdg-utils, hicolor-icon-theme
Suggests: cups, sane-utils
Section: graphics
Priority: optional
Homepage: https://kavi-covers.example/
Description: printed covers and inserts for disc and game cases
 Kavi prints pictures as covers and inserts for CD, DVD, Mini CD, PSP, DS,
 SLIM, HD-DVD and Blu-Ray cases at their exact physical size on Letter, Legal
 or A4 paper, with cut marks and a per-printer calibration, or saves the pages
 as a PDF file. Its Cover Manipulator rotates, mirrors, flips and brightens a
 picture and applies eighteen pixel filters. Kavi also scans and saves
 pictures as BMP, GIF, JPG, PNG or TIF files.
EOF

mkdir -p "$out_dir"
package=$out_dir/kavi_${version}_${arch}.deb
dpkg-deb --root-owner-group -Zxz --build "$stage" "$package" >/dev/null
echo "$package"
