#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Installs what is missing, builds every test with AddressSanitizer and UndefinedBehaviorSanitizer,
# and runs them all; then builds the Debian package from debian/, has lintian check it, installs,
# runs and purges it (tests/install/debian_package_test.sh). Extra arguments go to ctest (for example
# -R test_raster), and then the package is left out.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --test --package
build=${KAVI_TEST_BUILD:-build-test}
cmake -S . -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVI_SANITIZE=ON -DKAVI_TESTS=ON -DKAVI_WERROR=ON >/dev/null
cmake --build "$build" -j"$(nproc)"
(cd "$build" && ctest --output-on-failure -j"$(nproc)" "$@")
if [ $# -eq 0 ]; then
  DEB_BUILD_OPTIONS="${DEB_BUILD_OPTIONS:-parallel=$(nproc) nocheck}" bash tests/install/debian_package_test.sh
  echo "The Debian package built, passed lintian, installed, ran and was purged."
fi
