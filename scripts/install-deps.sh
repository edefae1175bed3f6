#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs every Debian package Kavi needs to build, run and test. Idempotent: installs only what is
# missing and stays quiet when everything is there. Pass --bench to add the benchmark-only group.
set -euo pipefail

runtime_and_build=(
  build-essential cmake ninja-build pkg-config ccache
  qt6-base-dev qt6-image-formats-plugins libqt6svg6
  libcups2-dev libdeflate-dev cups cups-client cups-filters ghostscript poppler-utils
  libsane-dev sane-utils libgif-dev libtiff-dev libjpeg62-turbo-dev libasound2-dev
  libgtest-dev libgmock-dev clang-format
  xvfb xauth x11-apps imagemagick fonts-liberation2 fonts-dejavu-core
  python3 util-linux zip
  desktop-file-utils appstream
  dpkg-dev
)
bench_only=(
  libbenchmark-dev libjpeg-turbo-progs img2pdf libturbojpeg0-dev
  libopencv-core-dev libopencv-imgproc-dev libpng-dev
)
# The JPEG encoder's tests decode with djpeg and compare with cjpeg, so the tools are needed there too.
runtime_and_build+=(libjpeg-turbo-progs)

wanted=("${runtime_and_build[@]}")
if [ "${1:-}" = "--bench" ]; then wanted+=("${bench_only[@]}"); fi

missing=()
for p in "${wanted[@]}"; do
  if [ "$(dpkg-query -W -f='${Status}' "$p" 2>/dev/null || true)" != "install ok installed" ]; then
    missing+=("$p")
  fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo_cmd=()
if [ "$(id -u)" -ne 0 ]; then sudo_cmd=(sudo); fi
export DEBIAN_FRONTEND=noninteractive
echo "Installing: ${missing[*]}"
"${sudo_cmd[@]}" apt-get update -qq
"${sudo_cmd[@]}" apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null
