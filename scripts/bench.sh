#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Builds the benchmarks optimised (with the benchmark-only packages) and runs one or all of them.
# Usage: scripts/bench.sh [PROGRAM-NAME-PATTERN]
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/install-deps.sh --bench
cmake -S . -B build-bench -G Ninja -DCMAKE_BUILD_TYPE=Release -DKAVI_BENCH=ON >/dev/null
cmake --build build-bench -j"$(nproc)"
pattern=${1:-bench_}
for b in build-bench/bench_*; do
  case "$(basename "$b")" in *"$pattern"*) echo "== $(basename "$b")"; "$b" ;; esac
done
