#!/usr/bin/env bash
# Measures the tree reading and the search on a network share: a catalogue served by a real sshd
# through sshfs (-o cache=no, so every opening goes over the connection), over a TCP relay that
# holds each direction for 1 ms, all inside a private network and mount namespace. Each is
# compared with the sequential bare read of the same files on the same mount (target: ratio <=
# 0.25). Run by hand as root; needs sshd, sshfs, ssh-keygen, python3, unshare and /dev/fuse, and
# skips with a message without them. Optional arguments: CATEGORIES ALBUMS SONGS REPEATS
# (default 25 20 15 5: 526 description files).
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
categories=${1:-25}
albums=${2:-20}
songs=${3:-15}
repeats=${4:-5}
delay_ms=1

skip() {
    echo "bench-share: skipped: $*"
    exit 0
}

if [[ ${TUNESTEAD_SHARE_INSIDE:-} != 1 ]]; then
    [[ $(id -u) == 0 ]] || skip "needs root (a network namespace, a FUSE mount, an sshd)"
    for tool in /usr/sbin/sshd sshfs ssh-keygen python3 unshare ip fusermount; do
        command -v "$tool" >/dev/null || skip "$tool is missing (apt-get install openssh-server sshfs)"
    done
    [[ -c /dev/fuse ]] || skip "/dev/fuse is missing"
    cd "$root"
    cmake -S . -B build-bench -DTUNESTEAD_BUILD_BENCH=ON >/dev/null
    cmake --build build-bench -j2 --target tunestead_bench >/dev/null
    TUNESTEAD_SHARE_INSIDE=1 exec unshare -n -m --propagation private "$0" "$@"
fi

# Inside the namespaces: only the loopback device, and mounts nobody else sees.
ip link set lo up
work=$(mktemp -d "${TMPDIR:-/tmp}/tunestead-share.XXXXXX")
pids=()
cleanup() {
    fusermount -u "$work/mnt" 2>/dev/null || true
    for pid in "${pids[@]}"; do kill "$pid" 2>/dev/null || true; done
    rm -rf "$work"
}
trap cleanup EXIT

bench="$root/build-bench/bench/tunestead_bench"
"$bench" --generate "$work/served/catalogue" "$categories" "$albums" "$songs"

mkdir -p "$work/mnt" /run/sshd
ssh-keygen -q -t ed25519 -N '' -f "$work/host_key"
ssh-keygen -q -t ed25519 -N '' -f "$work/client_key"
cp "$work/client_key.pub" "$work/authorized_keys"
cat >"$work/sshd_config" <<CONFIG
Port 2200
ListenAddress 127.0.0.1
HostKey $work/host_key
AuthorizedKeysFile $work/authorized_keys
PermitRootLogin prohibit-password
PasswordAuthentication no
StrictModes no
UsePAM no
PidFile $work/sshd.pid
Subsystem sftp internal-sftp
CONFIG
/usr/sbin/sshd -f "$work/sshd_config" -D -e 2>"$work/sshd.log" &
pids+=($!)
python3 "$root/scripts/delay-relay.py" 2201 2200 "$delay_ms" >"$work/relay.log" 2>&1 &
pids+=($!)
for _ in $(seq 50); do
    grep -q relay "$work/relay.log" 2>/dev/null && break
    sleep 0.1
done

sshfs -p 2201 -o "IdentityFile=$work/client_key,StrictHostKeyChecking=no" \
    -o "UserKnownHostsFile=/dev/null,LogLevel=ERROR,cache=no" \
    "root@127.0.0.1:$work/served" "$work/mnt"

echo "Network share: sshfs -o cache=no over ssh, $delay_ms ms added each way"
echo "Round trip on the share (stat of one file, 20 times):"
python3 - "$work/mnt/catalogue/descript.ion" <<'PY'
import os, sys, time
times = []
for _ in range(20):
    start = time.perf_counter()
    with open(sys.argv[1], "rb") as file:
        file.read()
    times.append((time.perf_counter() - start) * 1000)
times.sort()
print(f"  open and read of the root file: median {times[10]:.2f} ms")
PY
TMPDIR="$work" "$bench" --measure "$work/mnt/catalogue" 0.25 "$repeats"
