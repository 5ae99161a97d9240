#!/usr/bin/env bash
# Builds MP3 Tunestead and starts it on the bundled demo catalogue, with settings of its own
# (under build/demo-home), so the user's own settings are never touched.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build="$root/build"
"$root/scripts/deps.sh"

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j"$(nproc)" --target mp3tunestead make_demo_mp3 mp3tunestead-describe
for catalogue in catalogue faulty; do
    "$build/tools/make_demo_mp3" "$root/demo/$catalogue"
done

home="$build/demo-home"
hive="$home/config/mp3tunestead/HKEY_CURRENT_USER.reg"
if [ ! -f "$hive" ]; then
    mkdir -p "$(dirname "$hive")" "$home/data"
    catalogue="$root/demo/catalogue/"
    player=$(command -v mpv || true)
    escape() { printf '%s' "$1" | sed 's/\\/\\\\/g; s/"/\\"/g'; }
    printf 'REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\SOFTWARE\\Quorlen\\MP3 Discovane\\v1.2]\r\n' >"$hive"
    printf '"PlayerName"="%s"\r\n"MP3 Files #1"="%s"\r\n"SearchBase"="%s"\r\n' \
        "$(escape "$player")" "$(escape "$catalogue")" "$(escape "$catalogue")" >>"$hive"
fi

export XDG_CONFIG_HOME="$home/config" XDG_DATA_HOME="$home/data"
if [ -z "${DISPLAY:-}" ] && [ -z "${WAYLAND_DISPLAY:-}" ]; then
    echo "No display found: starting MP3 Tunestead inside a virtual X server (xvfb-run)."
    exec xvfb-run -a "$build/app/mp3tunestead"
fi
exec "$build/app/mp3tunestead"
