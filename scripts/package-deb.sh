#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds Kavi's Debian packages from the source package in debian/ with dpkg-buildpackage and puts
# kavi_VERSION_ARCH.deb at the top of the tree (or in OUT-DIR); prints that file's path last.
# Usage: scripts/package-deb.sh [OUT-DIR]
#
# The tree (the files git tracks plus new ones it does not ignore, or everything outside the build
# folders when it is not a git checkout) is packed as kavi_UPSTREAM.orig.tar.xz without debian/ and
# unpacked with debian/ in build-deb/kavi-UPSTREAM/, where dpkg-buildpackage -us -uc builds the
# source package and the binary packages; the .dsc, .changes, the -dbgsym package and the build
# log stay in build-deb/.
#
# The package is always built by dh itself, in its own build folder: the hardening flags that
# dpkg-buildflags gives (with DEB_BUILD_MAINT_OPTIONS=hardening=+all from debian/rules) reach every
# compile and link only that way, so an up-to-date build/ of scripts/run.sh is not reused. ccache
# keeps a second build quick: the build folder is always the same path, and ccache's cache and
# settings are handed to the build explicitly, since debhelper gives the build a HOME of its own.
#
# DEB_BUILD_OPTIONS defaults to "parallel=<cores> nocheck" (the tests run from scripts/test.sh).
set -euo pipefail
source_dir=$(cd "$(dirname "$0")/.." && pwd)
out_dir=$(realpath -m "${1:-$source_dir}")
fail() { echo "package-deb.sh: $*" >&2; exit 1; }

for tool in dpkg-buildpackage dpkg-parsechangelog dpkg-checkbuilddeps dh; do
  command -v "$tool" >/dev/null || fail "$tool is missing: install dpkg-dev and debhelper (scripts/install-deps.sh)"
done
cd "$source_dir"
missing=$(dpkg-checkbuilddeps 2>&1) ||
  fail "${missing#dpkg-checkbuilddeps: }; install them with: sudo apt-get build-dep $source_dir"

version=$(dpkg-parsechangelog -S Version)
upstream=${version%-*}
timestamp=$(dpkg-parsechangelog -S Timestamp)
project_version=$(sed -n 's/^project(Kavi VERSION \([0-9.]*\) .*/\1/p' CMakeLists.txt)
[ "$upstream" = "$project_version" ] ||
  fail "debian/changelog is at $version, but CMakeLists.txt at $project_version: add a changelog entry"
arch=$(dpkg --print-architecture)

work=$source_dir/build-deb
tree=$work/kavi-$upstream
rm -rf "$work"
mkdir -p "$work"

# The upstream tarball: every file of the tree but debian/ and the build outputs, in name order,
# owned by root and dated by the changelog entry, so that the same tree gives the same tarball.
list=$work/files
if git -C "$source_dir" rev-parse --is-inside-work-tree >/dev/null 2>&1; then
  git -C "$source_dir" ls-files -z --cached --others --exclude-standard >"$list.all"
else
  find . -mindepth 1 \( -path './.git' -o -path './build*' -o -path './out' -o -path './.cache' \) -prune -o \
    \( -type f -o -type l \) ! -name 'kavi_*.deb' -printf '%P\0' >"$list.all"
fi
while IFS= read -r -d '' f; do
  case $f in debian/*) continue ;; esac
  # A file git still tracks but that was deleted from the tree is not part of it.
  if [ -e "$f" ] || [ -L "$f" ]; then printf '%s\0' "$f"; fi
done <"$list.all" | LC_ALL=C sort -z >"$list"
orig=$work/kavi_$upstream.orig.tar.xz
tar --create --sort=name --owner=0 --group=0 --numeric-owner --mtime="@$timestamp" \
  --transform="s,^,kavi-$upstream/,S" --xz --file="$orig" --null --no-recursion --files-from="$list"
tar --extract --file="$orig" --directory="$work"
cp -a debian "$tree/debian"

# ccache as the developer has it set up, whatever HOME debhelper gives the build.
if command -v ccache >/dev/null; then
  CCACHE_DIR=$(ccache -k cache_dir)
  export CCACHE_DIR
  base_dir=$(ccache -k base_dir)
  if [ -n "$base_dir" ]; then export CCACHE_BASEDIR=$base_dir; fi
  if [ "$(ccache -k hash_dir)" = "false" ]; then export CCACHE_NOHASHDIR=1; fi
fi
export DEB_BUILD_OPTIONS=${DEB_BUILD_OPTIONS:-parallel=$(nproc) nocheck}

log=$work/build.log
echo "Building kavi $version with dpkg-buildpackage in $tree (log: $log)" >&2
(cd "$tree" && dpkg-buildpackage -us -uc) >"$log" 2>&1 || { tail -n 40 "$log" >&2; fail "dpkg-buildpackage failed; the whole log is $log"; }

package=$work/kavi_${version}_${arch}.deb
[ -f "$package" ] || fail "dpkg-buildpackage made no $(basename "$package")"
echo "Built: $(cd "$work" && ls -- *.dsc *.changes *.deb | tr '\n' ' ')(in $work)" >&2
mkdir -p "$out_dir"
cp "$package" "$out_dir/"
echo "$out_dir/$(basename "$package")"
