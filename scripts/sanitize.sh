#!/usr/bin/env bash
# Builds everything with AddressSanitizer and UndefinedBehaviorSanitizer in a build folder of
# its own and runs the whole test suite (core and windows, offscreen) under them; the first
# finding fails the run. Leaks are reported too, but those inside Qt, fontconfig and the other
# system libraries are suppressed (tests/lsan.supp). Environment: TUNESTEAD_ASAN_BUILD (build
# folder, default build-asan).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TUNESTEAD_ASAN_BUILD:-$root/build-asan}
jobs=$(nproc)
sanitizers="-fsanitize=address,undefined -fno-sanitize-recover=all -fno-omit-frame-pointer"

# Debug keeps the assertions; -O1 keeps the tests quick enough.
# Line tables (-g1) are enough for the reports and build much faster than full debug information.
# The sanitizers' allocator must see every allocation: the describe tool keeps the C library's.
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=Debug -DCMAKE_CXX_FLAGS_DEBUG="-O1 -g1" \
    -DCMAKE_CXX_FLAGS="$sanitizers" -DCMAKE_EXE_LINKER_FLAGS="$sanitizers" \
    -DTUNESTEAD_MIMALLOC=OFF >/dev/null
cmake --build "$build" -j"$jobs"

# Whole allocation stacks (Qt has no frame pointers to walk), so that the suppressions can name
# the Qt function that allocated.
cd "$build"
ASAN_OPTIONS=detect_leaks=1:halt_on_error=1:fast_unwind_on_malloc=0 \
    LSAN_OPTIONS="suppressions=$root/tests/lsan.supp:print_suppressions=0" \
    UBSAN_OPTIONS=halt_on_error=1:print_stacktrace=1 \
    QT_QPA_PLATFORM=offscreen ctest -j"$jobs" --output-on-failure
