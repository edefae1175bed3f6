#!/bin/sh
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the fuzz targets with clang (libFuzzer, AddressSanitizer, UndefinedBehaviorSanitizer) in
# build-fuzz/ and runs each for the given seconds on a copy of its seed corpus.
#   scripts/fuzz.sh [seconds] [target...]      (default: 60 seconds, every target)
# FUZZ_JOBS=2 runs two targets at a time. Crashing inputs are kept in build-fuzz/fuzz-run/<target>/crashes/;
# once mended, copy them into tests/fuzz/corpus/<target>/ so that the test build replays them.
set -eu
seconds=${1:-60}
[ $# -gt 0 ] && shift
root=$(cd "$(dirname "$0")/.." && pwd)
build=$root/build-fuzz
all="profile picture_loader version_reply mounts bmp_writer gif_encoder cjpeg pdf_writer uri_list cover_set jpeg_frame cue_sheet playlist"
targets=${*:-$all}
jobs=${FUZZ_JOBS:-1}

CC=clang CXX=clang++ cmake -S "$root" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DKAVI_FUZZ=ON >/dev/null
names=""
for t in $targets; do names="$names fuzz_$t"; done
# shellcheck disable=SC2086
cmake --build "$build" -j2 -t $names

export ASAN_OPTIONS=detect_leaks=1:intercept_tls_get_addr=0
export LSAN_OPTIONS=suppressions=$root/tests/lsan.supp:print_suppressions=0
export UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1
# The targets write their scratch files to the temporary folder; in memory, the settings file's
# synced writes run four times as fast.
if [ -z "${TMPDIR:-}" ] && [ -d /dev/shm ] && [ -w /dev/shm ]; then export TMPDIR=/dev/shm; fi

run_one() {
    t=$1
    work=$build/fuzz-run/$t
    rm -rf "$work"
    mkdir -p "$work/corpus" "$work/crashes"
    cp "$root/tests/fuzz/corpus/$t/"* "$work/corpus/"
    "$build/fuzz_$t" -max_total_time="$seconds" -timeout=20 -rss_limit_mb=4096 -print_final_stats=1 \
        -artifact_prefix="$work/crashes/" "$work/corpus" >"$work/log" 2>&1 || true
}

report() {
    t=$1
    work=$build/fuzz-run/$t
    execs=$(sed -n 's/^stat::number_of_executed_units: *//p' "$work/log" | tail -n 1)
    last=$(grep -E '^#[0-9]+' "$work/log" | tail -n 1)
    cov=$(echo "$last" | sed -n 's/.* cov: \([0-9]*\).*/\1/p')
    ft=$(echo "$last" | sed -n 's/.* ft: \([0-9]*\).*/\1/p')
    crashes=$(find "$work/crashes" -type f | wc -l)
    printf '%-16s executions %-10s coverage %-6s features %-6s crashes %s\n' "$t" "${execs:-?}" "${cov:-?}" "${ft:-?}" "$crashes"
    [ "$crashes" -eq 0 ] || { find "$work/crashes" -type f; grep -m1 -E 'ERROR|fuzz check failed|runtime error' "$work/log" || true; }
}

set -- $targets
while [ $# -gt 0 ]; do
    batch=""
    n=0
    while [ $# -gt 0 ] && [ $n -lt "$jobs" ]; do
        run_one "$1" &
        batch="$batch $1"
        n=$((n + 1))
        shift
    done
    wait
    for t in $batch; do report "$t"; done
done
