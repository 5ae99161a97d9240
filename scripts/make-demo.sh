#!/bin/sh
# Builds make_demo_mp3 and writes the song files (short silent MP3 files) of the demo catalogue
# and of the faulty one beside it.
# Usage: scripts/make-demo.sh [build-dir]   (default: build)
set -eu

source_dir=$(cd "$(dirname "$0")/.." && pwd)
build_dir=${1:-"$source_dir/build"}

if [ ! -f "$build_dir/CMakeCache.txt" ]; then
    cmake -S "$source_dir" -B "$build_dir"
fi
cmake --build "$build_dir" --target make_demo_mp3
for catalogue in catalogue faulty; do
    "$build_dir/tools/make_demo_mp3" "$source_dir/demo/$catalogue"
done
