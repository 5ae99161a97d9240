#!/usr/bin/env bash
# Draws the README's pictures of every window on the demo catalogue, offscreen, with settings
# of their own: docs/screenshots/NAME.png, and NAME-2x.png at twice the scale (QT_SCALE_FACTOR=2).
# Usage: scripts/screenshots.sh [build-dir]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/demo-settings.sh"
build=$(realpath -m "${1:-$root/build}")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2 --target tunestead_screenshots

# The pictures show the demo at a neutral place, /home/user/Music/, not this machine's folders:
# a copy of it is mounted there in a mount namespace of the tool's own (where unshare can make
# one; else the demo is shown where it lies).
catalogue="$root/demo/catalogue/"
in_home=()
mkdir -p "$work/home/user"
cp -r "$root/demo/catalogue" "$work/home/user/Music"
if unshare -rm sh -c 'mount --bind "$0" /home' "$work/home" 2>/dev/null; then
    catalogue=/home/user/Music/
    in_home=(unshare -rm sh -c 'mount --bind "$0" /home && exec "$@"' "$work/home")
else
    echo "screenshots: no mount namespace can be made; the demo is shown at $catalogue" >&2
fi
mkdir -p "$work/data"
write_demo_settings "$work/config" "$catalogue" mpv

for scale in 1 2; do
    suffix=$([ "$scale" = 2 ] && echo -2x || true)
    (cd "$work" && QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=$scale XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_HOME="$work/data" "${in_home[@]}" "$build/tools/tunestead_screenshots" "$root/docs/screenshots" \
        "$suffix")
done
