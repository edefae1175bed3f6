#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what building and running Kavi need (not the tests' packages), builds Kavi optimised
# into build/ and starts it from there. On a Wayland session Kavi itself prefers X11 through
# XWayland; QT_QPA_PLATFORM or -platform still choose otherwise.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --run
cmake -S . -B build -G Ninja -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build -j"$(nproc)"
exec ./build/kavi "$@"
