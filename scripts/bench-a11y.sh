#!/usr/bin/env bash
# Measures the reading of the album tree into the real main window on an X server (Xvfb, Qt's
# xcb platform) with the accessibility bus on (at-spi2-core's bus launcher in a private D-Bus
# session, QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1) against the same with it off, on the benchmark's
# catalogue of 20,000 albums (target: on <= 2 x off). The runs alternate, each a process of its
# own reading the tree REPEATS times; the medians of the runs are compared. Skips with a message
# when Xvfb, dbus-run-session or the bus launcher is missing. Optional arguments: RUNS REPEATS
# (default 3 5). The catalogue goes below $TMPDIR (default /tmp; /dev/shm keeps it in memory).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
runs=${1:-3}
repeats=${2:-5}
launcher=""
for candidate in /usr/libexec/at-spi-bus-launcher /usr/lib/at-spi2-core/at-spi-bus-launcher; do
    [[ -x $candidate ]] && launcher=$candidate
done

skip() {
    echo "bench-a11y: skipped: $*"
    exit 0
}
command -v Xvfb >/dev/null || skip "Xvfb is missing (apt-get install xvfb)"
command -v dbus-run-session >/dev/null || skip "dbus-run-session is missing (apt-get install dbus)"
[[ -n $launcher ]] || skip "at-spi-bus-launcher is missing (apt-get install at-spi2-core)"

cd "$root"
cmake -S . -B build-bench -DTUNESTEAD_BUILD_BENCH=ON >/dev/null
cmake --build build-bench -j2 --target tunestead_bench >/dev/null
bench="$root/build-bench/bench/tunestead_bench"

work=$(mktemp -d "${TMPDIR:-/tmp}/tunestead-a11y.XXXXXX")
display=:$((90 + RANDOM % 9))
xvfb=""
cleanup() {
    [[ -n $xvfb ]] && kill "$xvfb" 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT
"$bench" --generate "$work/catalogue" 200 100 15
Xvfb "$display" -screen 0 1280x1024x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
xvfb=$!
for _ in $(seq 50); do
    [[ -S /tmp/.X11-unix/X${display#:} ]] && break
    sleep 0.1
done

# One run: the median tree reading in milliseconds. Modes: off; on (the bus and its registry, no
# one listening); listened (a listener registered for every object, window and focus event, as a
# screen reader is).
run() {
    local mode=$1 line
    if [[ $mode == off ]]; then
        line=$(env -u DBUS_SESSION_BUS_ADDRESS \
            "$bench" --measure "$work/catalogue" 100 "$repeats" 2>/dev/null | grep '^result')
    else
        line=$(dbus-run-session -- bash -c '"$1" --launch-immediately & launcher=$!
            listener=
            if [[ $5 == listened ]]; then
                /usr/bin/python3 "$6" > "$7" 2>&1 & listener=$!
                for _ in $(seq 50); do grep -q listening "$7" && break; sleep 0.1; done
            else
                sleep 1
            fi
            QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 "$2" --measure "$3" 100 "$4"
            [[ -n $listener ]] && kill $listener && wait $listener
            kill $launcher' _ "$launcher" "$bench" "$work/catalogue" "$repeats" "$mode" \
            "$root/scripts/a11y-listener.py" "$work/listener.log" 2>/dev/null | grep '^result')
        [[ $mode == listened ]] && grep -h 'events' "$work/listener.log" >&2
    fi
    # The program must see the bus as it was meant to: on, or off.
    local expected=on
    [[ $mode == off ]] && expected=off
    if [[ $line != *"accessibility=$expected"* ]]; then
        echo "bench-a11y: accessibility is not $expected in the program: $line" >&2
        return 1
    fi
    sed -E 's/.*tree_ms=([0-9.]+).*/\1/' <<<"$line"
}

export DISPLAY=$display QT_QPA_PLATFORM=xcb TMPDIR="$work"
on=()
off=()
listened=()
listener=no
/usr/bin/python3 -c 'import dbus, gi' 2>/dev/null && listener=yes
for _ in $(seq "$runs"); do
    off+=("$(run off)")
    on+=("$(run on)")
    [[ $listener == yes ]] && listened+=("$(run listened)")
done
median() { printf '%s\n' "$@" | sort -n | awk '{ v[NR] = $1 } END { print (NR % 2) ? v[(NR + 1) / 2] : (v[NR / 2] + v[NR / 2 + 1]) / 2 }'; }
off_median=$(median "${off[@]}")
on_median=$(median "${on[@]}")
echo "Tree reading on Xvfb (xcb), 20,000 albums, $runs runs of $repeats readings each"
echo "  accessibility off:             ${off[*]} ms (median $off_median)"
echo "  accessibility on:              ${on[*]} ms (median $on_median)"
met=0
verdict() {
    awk -v on="$1" -v off="$off_median" -v what="$2" 'BEGIN {
        ratio = on / off
        printf "  ratio %s/off %.2f (target <= 2.00: %s)\n", what, ratio, ratio <= 2 ? "ok" : "MISSED"
        exit ratio <= 2 ? 0 : 1 }' || met=1
}
verdict "$on_median" on
if [[ $listener == yes ]]; then
    listened_median=$(median "${listened[@]}")
    echo "  on, every event listened to:  ${listened[*]} ms (median $listened_median)"
    verdict "$listened_median" listened
else
    echo "  (no listener run: the system's python3 lacks the dbus and gi modules)"
fi
exit $met
