#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs the Debian packages Kavi needs, group by group. Idempotent: installs only what is missing
# and stays quiet when everything is there.
# Usage: scripts/install-deps.sh [--run] [--test] [--package] [--bench]
#   --run      what building and running Kavi need (scripts/run.sh)
#   --test     that and what the tests need besides (scripts/test.sh)
#   --package  that and what packing the Debian package needs
#   --bench    adds the benchmark-only group
# With no group named, every group but the benchmarks' is installed.
set -euo pipefail

# Building and running: the compiler and build tools, and what the CMake files look for with the
# tests off (Qt 6, libdeflate, giflib, libjpeg, ALSA, CUPS, SANE, TagLib), rsvg-convert for the PNG icons, and
# the plugins and the font the windows need at run time.
run=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-image-formats-plugins libqt6svg6
  libcups2-dev libdeflate-dev libsane-dev libgif-dev libjpeg62-turbo-dev libasound2-dev libtag1-dev
  fonts-dejavu-core librsvg2-bin
)
# The tests: GoogleTest, a private CUPS server with its filters and the PDF and PostScript readers,
# SANE's test scanner, a virtual X server and ImageMagick for screenshots, the JPEG tools the
# encoder is compared with, setpriv/runuser, the source layout check, the desktop-file checks, and
# the label makers' templates that the label-stock reader is checked against, and zip, whose sets the
# cover-set reader must open, and the encoders that make the tagged audio files the track-list
# readers are checked on.
test=(
  libgtest-dev libgmock-dev clang-format python3 util-linux
  cups cups-client cups-filters ghostscript poppler-utils
  sane-utils libtiff-dev libjpeg-turbo-progs
  xvfb xauth x11-apps imagemagick fonts-liberation2
  desktop-file-utils appstream glabels-data man-db zip
  flac lame vorbis-tools
)
# The Debian package: dpkg-buildpackage with debhelper, and lintian with what it runs.
package=(dpkg-dev debhelper devscripts lintian man-db file)
bench=(
  libbenchmark-dev libjpeg-turbo-progs img2pdf libturbojpeg0-dev
  libopencv-core-dev libopencv-imgproc-dev libpng-dev
)

wanted=("${run[@]}")
groups=0
with_bench=0
for option in "$@"; do
  case "$option" in
    --run) groups=1 ;;
    --test) groups=1; wanted+=("${test[@]}") ;;
    --package) groups=1; wanted+=("${package[@]}") ;;
    --bench) with_bench=1 ;;
    *) echo "install-deps.sh: unknown option $option (--run, --test, --package, --bench)" >&2; exit 2 ;;
  esac
done
if [ $groups -eq 0 ]; then wanted+=("${test[@]}" "${package[@]}"); fi
if [ $with_bench -eq 1 ]; then wanted+=("${bench[@]}"); fi

missing=()
for p in "${wanted[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0
# Each package once, in the order first named.
mapfile -t missing < <(printf '%s\n' "${missing[@]}" | awk '!seen[$0]++')

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
