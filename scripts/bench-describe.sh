#!/usr/bin/env bash
# Measures mp3tunestead-describe on a collection of real MP3 files made with lame (default 200
# artists x 2 albums x 10 songs: 4,000 songs of a few seconds, long names, ID3v2 tags), each
# figure against its floor:
#   first run into a fresh catalogue  against mutagen reading the tags and length of every song
#                                     (speed >= 5x; skipped when no python3 has mutagen),
#                                     and against a bare reader of every song's first 64 KiB
#                                     and last 128 bytes (ratio <= 2);
#   re-run on the unchanged collection against a bare stat walk of the music folder (ratio <=
#                                     1.5), and it opens no song file (counted with strace);
#   first run with the page cache emptied before it, against the bare reader run sequentially
#                                     with the page cache emptied the same way (ratio <= 0.5),
#                                     on a copy of the collection below $TUNESTEAD_BENCH_DISK
#                                     (default /var/tmp, which must be on a disk); emptying the
#                                     cache needs root rights, and without them that part is
#                                     skipped. The bare reader on 16 threads is shown beside
#                                     it: what reading in parallel reaches on that disk.
# The collection is made below $TMPDIR (default /dev/shm when writable, else /tmp) and kept there
# for the next run with the same parameters (tunestead-bench-describe/); catalogues go to a
# folder of their own below it and are removed again. Optional arguments: ARTISTS ALBUMS SONGS
# REPEATS (default 200 2 10 1); with REPEATS above 1 each figure is the median of interleaved
# runs. Exits with 0 when every target is met, 1 otherwise, 2 when something fails.
# The timings' arrays are filled and read through namerefs, which shellcheck does not follow.
# shellcheck disable=SC2034,SC2178
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
artists=${1:-200}
albums=${2:-2}
songs=${3:-10}
repeats=${4:-1}
parallel_readers=16

skip() {
    echo "bench-describe: skipped: $*"
    exit 0
}

fail() {
    echo "bench-describe: $*" >&2
    exit 2
}

command -v lame >/dev/null || skip "lame is missing (apt-get install lame)"
command -v python3 >/dev/null || skip "python3 is missing"

if [[ -z ${TMPDIR:-} && -d /dev/shm && -w /dev/shm ]]; then
    base=/dev/shm
else
    base=${TMPDIR:-/tmp}
fi
work=$(mktemp -d "$base/tunestead-bench-describe-run.XXXXXX")
trap 'rm -rf "$work"' EXIT

cd "$root"
cmake -S . -B build-bench-describe -DTUNESTEAD_BUILD_BENCH=ON -DTUNESTEAD_WITH_QT=OFF \
    -DTUNESTEAD_BUILD_TESTS=OFF -DCMAKE_BUILD_TYPE=RelWithDebInfo >"$work/build.log" 2>&1 ||
    { tail -20 "$work/build.log"; fail "cmake failed"; }
grep -q "mp3tunestead-describe is not built" "$work/build.log" &&
    skip "TagLib is missing, so is mp3tunestead-describe (apt-get install libtag1-dev)"
cmake --build build-bench-describe -j2 --target mp3tunestead-describe tunestead_describe_floors \
    >>"$work/build.log" 2>&1 || { tail -30 "$work/build.log"; fail "the build failed"; }
describe="$root/build-bench-describe/describe/mp3tunestead-describe"
floors="$root/build-bench-describe/bench/tunestead_describe_floors"

mutagen_python=
for candidate in python3 /usr/bin/python3; do
    if "$candidate" -c 'import mutagen.mp3' 2>/dev/null; then
        mutagen_python=$candidate
        break
    fi
done
cat >"$work/mutagen-read.py" <<'PY'
import os
import sys
from mutagen.mp3 import MP3

count = 0
for folder, _, names in os.walk(sys.argv[1]):
    for name in names:
        if name.lower().endswith(".mp3"):
            song = MP3(os.path.join(folder, name))
            length = song.info.length
            if song.tags is not None:
                title = song.tags.get("TIT2")
                album = song.tags.get("TALB")
            count += 1
print(count, "songs")
PY

# Runs a command with its output in the log, and adds its wall time and its processor time (user
# and system) in milliseconds to the arrays <name>_wall and <name>_cpu. On a busy machine the
# processor time tells what the command itself costs. The describe tool ends with 1 when it
# reports descriptions cut at column 50 or letters the code page lacks, as long names bring: that
# is a finished run, and songs it could not read are looked for in the log afterwards.
measure() {
    local -n walls=$1_wall cpus=$1_cpu
    shift
    # The wall time to the microsecond: a re-run takes a few milliseconds, which the shell's
    # own timing gives to the millisecond only.
    local TIMEFORMAT='%3U %3S' status=0 start=$EPOCHREALTIME
    { time "$@" >>"$work/run.log" 2>&1; } 2>"$work/time" || status=$?
    local stop=$EPOCHREALTIME
    if ((status > 1)) || { ((status == 1)) && [[ $1 != "$describe" ]]; }; then
        tail -20 "$work/run.log" >&2
        fail "failed: $*"
    fi
    local user system
    read -r user system <"$work/time"
    walls+=("$(awk -v a="$start" -v b="$stop" 'BEGIN { printf "%.1f", (b - a) * 1000 }')")
    cpus+=("$(awk -v u="$user" -v s="$system" 'BEGIN { printf "%.1f", (u + s) * 1000 }')")
}

median() {
    printf '%s\n' "$@" | sort -g |
        awk '{ value[NR] = $1 }
             END { middle = int((NR + 1) / 2)
                   printf "%.1f", NR % 2 ? value[middle] : (value[middle] + value[middle + 1]) / 2 }'
}

ratio() {
    awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.2f", a / b; else printf "-" }'
}

# Prints a measured command's medians.
show() { # label, name
    local -n walls=$2_wall cpus=$2_cpu
    printf '%-42s %10s %10s\n' "$1" "$(median "${walls[@]}")" "$(median "${cpus[@]}")"
}

# Prints a floor's medians and the ratio of the measured command to it (speed: the floor's time
# over the command's) with its target; a missed target (on wall time) makes the exit status 1.
missed=0
report() { # label, floor name, measured name, ratio|speed, le|ge, target
    local -n floor_wall=$2_wall floor_cpu=$2_cpu walls=$3_wall cpus=$3_cpu
    local wall cpu
    if [[ $4 == speed ]]; then
        wall=$(ratio "$(median "${floor_wall[@]}")" "$(median "${walls[@]}")")
        cpu=$(ratio "$(median "${floor_cpu[@]}")" "$(median "${cpus[@]}")")
    else
        wall=$(ratio "$(median "${walls[@]}")" "$(median "${floor_wall[@]}")")
        cpu=$(ratio "$(median "${cpus[@]}")" "$(median "${floor_cpu[@]}")")
    fi
    local verdict=met sign="<="
    [[ $5 == ge ]] && sign=">="
    if ! awk -v r="$wall" -v t="$6" -v c="$5" \
        'BEGIN { exit !(r != "-" && (c == "le" ? r + 0 <= t + 0 : r + 0 >= t + 0)) }'; then
        verdict=MISSED
        missed=1
    fi
    printf '%-42s %10s %10s   %-6s %6s %6s   %s %s %s\n' "$1" "$(median "${floor_wall[@]}")" \
        "$(median "${floor_cpu[@]}")" "$4" "$wall" "$cpu" "$sign" "$6" "$verdict"
}

# Fails when the describe tool could not read a song: the figures would not be those of the
# whole collection.
check_songs_read() {
    if grep -q "cannot read song" "$work/run.log"; then
        grep "cannot read song" "$work/run.log" | head -5 >&2
        fail "the describe tool could not read every song"
    fi
}

# The collection, made once for these parameters and then reused.
make_collection() {
    local start=$EPOCHREALTIME
    local music
    music=$(python3 "$root/scripts/bench-music.py" "$1/tunestead-bench-describe" \
        "$artists" "$albums" "$songs") || fail "the collection could not be made below $1"
    local count size
    count=$(find "$music" -type f -name '*.mp3' | wc -l)
    size=$(du -sm "$music" | cut -f1)
    awk -v start="$start" -v stop="$EPOCHREALTIME" -v count="$count" -v size="$size" \
        -v music="$music" 'BEGIN { printf "Collection: %d songs, %d MB in %s (ready in %.1f s)\n",
        count, size, music, stop - start }' >&2
    echo "$music"
}

load() {
    echo "load average $(cut -d' ' -f1-3 /proc/loadavg) on $(nproc) core(s)"
}

echo "bench-describe: $artists artists x $albums albums x $songs songs, $repeats run(s) each"
music=$(make_collection "$base")
echo "At the start: $(load)"

# The page cache holds the whole collection before any timing.
"$floors" read "$music" >/dev/null
"$floors" stat "$music" >/dev/null

bare_wall=() bare_cpu=() mutagen_wall=() mutagen_cpu=() first_wall=() first_cpu=()
walk_wall=() walk_cpu=() rerun_wall=() rerun_cpu=()
for ((run = 1; run <= repeats; ++run)); do
    measure bare "$floors" read "$music"
    [[ -z $mutagen_python ]] || measure mutagen "$mutagen_python" "$work/mutagen-read.py" "$music"
    rm -rf "$work/catalogue"
    measure first "$describe" --catalogue "$work/catalogue" "$music"
    measure walk "$floors" stat "$music"
    measure rerun "$describe" --catalogue "$work/catalogue" "$music"
done

check_songs_read
printf '%-42s %10s %10s   %-6s %6s %6s   %s\n' measure "wall ms" "cpu ms" "" wall cpu target
show "first run into a fresh catalogue" first
if [[ -n $mutagen_python ]]; then
    report "mutagen: tags and length" mutagen first speed ge 5
else
    echo "mutagen: skipped, no python3 has it (Debian: python3-mutagen)"
fi
report "bare reader: first 64 KiB and last 128 B" bare first ratio le 2
show "re-run on the unchanged collection" rerun
report "bare stat walk of the music folder" walk rerun ratio le 1.5

# The song files a run opens, through the music folder or through the catalogue's links.
opened_songs() {
    local trace="$work/trace"
    strace -f -qq -e trace=open,openat,openat2 -o "$trace" \
        "$describe" --catalogue "$work/catalogue" "$music" >>"$work/run.log" 2>&1 ||
        (($? == 1)) || fail "the traced re-run failed"
    grep -v '= -1 ' "$trace" | grep -ciE '\.mp3", ' || true
}

if command -v strace >/dev/null; then
    opened=$(opened_songs)
    verdict=met
    if ((opened != 0)); then
        verdict=MISSED
        missed=1
    fi
    printf '%-42s %10s %10s   %-6s %6s %6s   = 0 %s\n' "song files opened by the re-run (strace)" \
        "" "" "" "$opened" "" "$verdict"
    # A control that the count sees openings: one song with a new time is read again.
    touched=$(find "$music" -type f -name '*.mp3' -print -quit)
    stamp=$(stat -c %y "$touched")
    touch "$touched"
    control=$(opened_songs)
    touch -d "$stamp" "$touched"
    printf '%-42s %10s %10s   %-6s %6s %6s   (one song touched: 1)\n' \
        "control: song files opened" "" "" "" "$control" ""
else
    echo "song files opened by the re-run: not counted, strace is missing"
fi

# The cold first run: the collection on a disk, the page cache emptied before each reading.
cold_part() {
    local disk=${TUNESTEAD_BENCH_DISK:-/var/tmp}
    if [[ $(id -u) != 0 || ! -w /proc/sys/vm/drop_caches ]]; then
        echo "cold first run: skipped, emptying the page cache needs root rights"
        return
    fi
    if [[ ! -d $disk ]] || [[ $(stat -f -c %T "$disk") =~ ^(tmpfs|ramfs)$ ]]; then
        echo "cold first run: skipped, $disk is not a folder on a disk (TUNESTEAD_BENCH_DISK)"
        return
    fi
    local cold_music
    cold_music=$(make_collection "$disk")
    cold_first_wall=() cold_first_cpu=() cold_bare_wall=() cold_bare_cpu=()
    cold_parallel_wall=() cold_parallel_cpu=()
    drop() {
        sync
        echo 3 >/proc/sys/vm/drop_caches
        # The programs themselves come back into the cache: only the collection is read cold.
        "$describe" --version >/dev/null
        "$floors" >/dev/null 2>&1 || true
    }
    for ((run = 1; run <= repeats; ++run)); do
        rm -rf "$work/cold-catalogue"
        drop
        measure cold_first "$describe" --catalogue "$work/cold-catalogue" "$cold_music"
        drop
        measure cold_bare "$floors" read "$cold_music"
        drop
        measure cold_parallel "$floors" read "$cold_music" "$parallel_readers"
    done
    check_songs_read
    show "cold first run (catalogue in $base)" cold_first
    report "cold bare reader, sequential" cold_bare cold_first ratio le 0.5
    # What reading in parallel reaches on this disk, for comparison: no target.
    printf '%-42s %10s %10s   %-6s %6s\n' "cold bare reader, $parallel_readers threads" \
        "$(median "${cold_parallel_wall[@]}")" "$(median "${cold_parallel_cpu[@]}")" "/seq" \
        "$(ratio "$(median "${cold_parallel_wall[@]}")" "$(median "${cold_bare_wall[@]}")")"
}
cold_part

echo "At the end: $(load)"
if ((missed)); then
    echo "bench-describe: some targets were missed"
    exit 1
fi
echo "bench-describe: every target met"
