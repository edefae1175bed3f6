#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds every test with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs them all. Extra arguments go to ctest (for example -R test_raster).
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test
build=${KAVI_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVI_SANITIZE=ON -DKAVI_TESTS=ON -DKAVI_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
cd "$build"
ctest --output-on-failure -j"$(nproc)" "$@"
