#!/usr/bin/env bash
# Measures "Refresh MP3 folders" through the program's windows (offscreen) on an unchanged
# collection of real MP3 files (default 10,000 artists x 2 albums x 1 song: 20,000 albums, made
# by scripts/bench-music.py and kept for the next run), against a bare stat walk of the same
# music folder (tunestead_describe_floors stat), the median of REPEATS runs each (default 5).
# The music folder is described first as "Add MP3 folder..." does (not timed); the catalogue and
# the settings go to a private folder that is removed again.
# Usage: scripts/bench-refresh.sh [ARTISTS ALBUMS SONGS REPEATS]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
artists=${1:-10000}
albums=${2:-2}
songs=${3:-1}
repeats=${4:-5}
build="$root/build-bench"

command -v lame >/dev/null || { echo "bench-refresh: skipped: lame is missing"; exit 0; }
if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then
    base=/dev/shm
else
    base=${TMPDIR:-/tmp}
fi
work=$(mktemp -d "$base/tunestead-bench-refresh-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DTUNESTEAD_BUILD_BENCH=ON -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    >"$work/build.log"
cmake --build "$build" -j2 --target tunestead_bench tunestead_describe_floors >>"$work/build.log"

music=$(python3 "$root/scripts/bench-music.py" "$base/tunestead-bench-describe" "$artists" \
    "$albums" "$songs")
floors="$build/bench/tunestead_describe_floors"
"$floors" stat "$music" >/dev/null
walk=()
for _ in $(seq "$repeats"); do
    start=$(date +%s%N)
    "$floors" stat "$music" >/dev/null
    walk+=($((($(date +%s%N) - start) / 1000)))
done
walk_ms=$(printf '%s\n' "${walk[@]}" | sort -n | awk '{a[NR]=$1} END {printf "%.2f", a[int((NR+1)/2)]/1000}')

# The program's settings, data and catalogue go to a scratch folder of its own.
out=$("$build/bench/tunestead_bench" --refresh "$music" "$repeats" 2>"$work/bench.log")
echo "$out" | grep -v '^result'
refresh_ms=$(echo "$out" | sed -n 's/^result refresh_ms=\([0-9.]*\).*/\1/p')
echo "Bare stat walk of the music folder  $walk_ms ms (median of $repeats)"
awk -v r="$refresh_ms" -v w="$walk_ms" \
    'BEGIN {printf "Refresh / stat walk                  %.2f   (target <= 1.5: %s)\n", r / w, r / w <= 1.5 ? "ok" : "MISSED"; exit !(r / w <= 1.5)}'
