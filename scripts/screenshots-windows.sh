#!/usr/bin/env bash
# Draws the README's pictures of the Windows build: the screenshot tool cross-built for Windows
# runs under Wine on a virtual X display (Xvfb) with Windows' own platform plugin and style, on
# the demo catalogue, with its settings in a fresh Wine registry: docs/screenshots/windows-*.png.
# Usage: scripts/screenshots-windows.sh [MinGW build folder]   (default: build-mingw, made by
# scripts/windows-build.sh)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "${1:-$root/build-mingw}")
work=$(mktemp -d)
trap 'end_wine_session; rm -rf "$work"' EXIT
. "$root/scripts/wine-session.sh"

cmake --build "$build" -j2 --target tunestead_screenshots
"$root/scripts/deploy-windows.sh" "$build/qt6-mingw64" "$build/tools"

start_wine_session "$work/wineprefix"
import_wine_settings "$root/demo/catalogue/" \
    '"PlayerName"="C:\\Program Files\\VideoLAN\\VLC\\vlc.exe"'
(cd "$work" && wine_bounded 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
    env QT_QPA_PLATFORM=windows wine "$build/tools/tunestead_screenshots.exe" \
    "$(winepath -w "$root/docs/screenshots")" "" windows-)
ls "$root"/docs/screenshots/windows-*.png
