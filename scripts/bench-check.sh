#!/usr/bin/env bash
# Builds the check benchmark without Qt in a build folder of its own and runs it: the check
# of a catalogue of 20,000 albums (300,000 sparse song files) against a bare read of the same
# description files. The catalogue is written below $TMPDIR (default /tmp) and removed again.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
cd "$root"
cmake -S . -B build-bench-core -DTUNESTEAD_BUILD_BENCH=ON -DTUNESTEAD_WITH_QT=OFF \
    -DTUNESTEAD_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=Release >/dev/null
cmake --build build-bench-core -j2 --target tunestead_check_bench
build-bench-core/bench/tunestead_check_bench
