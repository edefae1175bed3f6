#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Uses Kavi's windows at random for a long time: STEPS steps for each of SEEDS seeds (1..SEEDS, or a
# comma-separated list of seeds), in the AddressSanitizer test build (build-test/, configured and
# built when missing), headless. Each seed's counts are printed; a broken check names the seed,
# the step and the steps before it. KAVI_RANDOM_TRACE=1 prints every step.
#   scripts/random-use.sh [STEPS] [SEEDS]      (default: 5000 steps, seeds 1..4)
set -eu
steps=${1:-5000}
seeds=${2:-4}
root=$(cd "$(dirname "$0")/.." && pwd)
build=${KAVI_BUILD:-$root/build-test}

if [ ! -f "$build/build.ninja" ]; then
    cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVI_SANITIZE=ON -DKAVI_TESTS=ON >/dev/null
fi
cmake --build "$build" -j2 -t test_random_use

export QT_QPA_PLATFORM=offscreen
export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
export KAVI_RANDOM_STEPS="$steps" KAVI_RANDOM_SEEDS="$seeds"
cd "$build"
exec ./test_random_use
