#!/usr/bin/env bash
# Builds the fuzz targets with clang in a build folder of their own and runs each for a
# bounded number of inputs, starting from its seed inputs in fuzz/seeds/ (copied, so that the
# inputs a run adds stay out of the sources). Environment: TUNESTEAD_FUZZ_BUILD (build folder,
# default build-fuzz), TUNESTEAD_FUZZ_RUNS (inputs per target, default 200000),
# TUNESTEAD_FUZZ_SECONDS (the most time per target, default 25), TUNESTEAD_FUZZ_SEED (default
# 1, so that a run can be repeated).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=${TUNESTEAD_FUZZ_BUILD:-$root/build-fuzz}
runs=${TUNESTEAD_FUZZ_RUNS:-200000}
seconds=${TUNESTEAD_FUZZ_SECONDS:-25}
seed=${TUNESTEAD_FUZZ_SEED:-1}
targets=(PlaylistFileFuzz TextPlaylistFuzz DescLinesFuzz LineSieveFuzz HiveFormatFuzz DesktopEntryFuzz SystemInfoFuzz)

# clang and its libFuzzer runtime.
has_fuzzer_runtime() {
    echo 'extern "C" int LLVMFuzzerTestOneInput(const char*, unsigned long) { return 0; }' |
        clang++ -x c++ -fsanitize=fuzzer - -o /dev/null 2>/dev/null
}
if ! command -v clang++ >/dev/null || ! has_fuzzer_runtime; then
    if [ "$(id -u)" = 0 ] && command -v apt-get >/dev/null; then
        apt-get install -y clang libclang-rt-14-dev >/dev/null
    else
        echo "fuzz.sh: clang++ with libFuzzer is needed (apt-get install clang libclang-rt-14-dev)" >&2
        exit 1
    fi
fi

CXX=clang++ cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTUNESTEAD_WITH_QT=OFF -DTUNESTEAD_BUILD_TESTS=OFF -DTUNESTEAD_BUILD_FUZZ=ON >/dev/null
cmake --build "$build" --target "${targets[@]}" -j2

corpus=$(mktemp -d)
trap 'rm -rf "$corpus"' EXIT
for target in "${targets[@]}"; do
    echo "== $target: $runs inputs, at most $seconds s"
    mkdir "$corpus/$target"
    if [ -d "$root/fuzz/seeds/$target" ]; then
        cp "$root/fuzz/seeds/$target"/* "$corpus/$target/"
    fi
    "$build/fuzz/$target" "$corpus/$target" -runs="$runs" -max_total_time="$seconds" \
        -seed="$seed" -max_len=2048 -len_control=0 -print_final_stats=1
done
