#!/usr/bin/env bash
# Builds the benchmark in a build folder of its own and runs it: the catalogue reading, the
# song listing and the search through the real windows (offscreen) against a bare read of
# the same files. The catalogue is written below $TMPDIR (default /tmp) and removed again. The
# tree reading is also measured with the page cache emptied before each run, on a smaller
# catalogue below $TUNESTEAD_BENCH_DISK (default /var/tmp, which must be on a disk); emptying
# the cache needs root rights, and without them that part is skipped.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
cmake -S . -B build-bench -DTUNESTEAD_BUILD_BENCH=ON
cmake --build build-bench --target tunestead_bench
build-bench/bench/tunestead_bench
