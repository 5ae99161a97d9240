#!/usr/bin/env bash
# Unpacks the portable Windows build's zip (scripts/package-windows.sh) and starts the program
# from it under Wine, on a virtual X display (Xvfb) with Windows' own platform plugin, on the
# demo catalogue inside the zip, with its settings imported into Wine's registry under the
# settings key. The program proves that it read the tree by printing what its main window holds
# once the reading is over (--print-tree, so nothing waits for a window or sleeps): no box, and
# the same categories, albums and totals as the Linux build prints for the same catalogue. Both
# read it unsorted: sorting follows the system's collation, which differs between the two.
# Then the describe tools of both builds describe copies of the demo filled with the same MP3
# files: their description files must come out byte for byte the same, and so their reports.
#   wine-package-check.sh <MinGW build folder> <Linux build folder>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/demo-settings.sh"
mingw=$(realpath -m "$1")
linux=$(realpath -m "$2")
work=$(mktemp -d)
trap 'end_wine_session; rm -rf "$work"' EXIT
. "$root/scripts/wine-session.sh"

zip=$(ls "$mingw"/package/MP3Tunestead-*-win64.zip)
(cd "$work" && cmake -E tar xf "$zip")
folder=$(ls -d "$work"/MP3Tunestead-*-win64)

start_wine_session "$work/wineprefix"
unsorted='"SortAlbums"=dword:00000000'
import_wine_settings "$folder/demo/" "$unsorted"

status=0
(cd "$work" && wine_bounded 300 xvfb-run -a -s "-screen 0 1280x1024x24" \
    env QT_QPA_PLATFORM=windows wine "$folder/mp3tunestead.exe" --print-tree \
    >"$work/windows-crlf.txt" 2>"$work/windows-errors.txt") || status=$?
# Windows ends the program's lines with CR LF; the texts must be the same.
tr -d '\r' <"$work/windows-crlf.txt" >"$work/windows.txt"

write_demo_settings "$work/config" "$root/demo/catalogue/" player
printf '%s\r\n' "$unsorted" >>"$work/config/mp3tunestead/HKEY_CURRENT_USER.reg"
mkdir -p "$work/data"
(cd "$work" && env -u DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" "$linux/app/mp3tunestead" --print-tree >"$work/linux.txt" \
    2>/dev/null)


# Both describe tools on the same MP3 folders.
for system in linux windows; do
    cp -r "$folder/demo" "$work/describe-$system"
    "$linux/tools/make_demo_mp3" "$work/describe-$system" >/dev/null
done
linux_status=0
"$linux/describe/mp3tunestead-describe" --in-place "$work/describe-linux" >/dev/null \
    2>"$work/describe-linux.txt" || linux_status=$?
windows_status=0
(cd "$work" && wine_bounded 300 wine "$folder/mp3tunestead-describe.exe" --in-place \
    "$(winepath -w "$work/describe-windows")" >/dev/null 2>"$work/describe-windows.txt") ||
    windows_status=$?

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
[ "$status" -eq 0 ] || fail "the Windows program ended with status $status"
[ ! -s "$work/windows-errors.txt" ] || fail "the Windows program showed boxes or errors"
grep -q ' album(s)$' "$work/windows.txt" || fail "the Windows program printed no album count"
cmp -s "$work/windows.txt" "$work/linux.txt" ||
    fail "the Windows program read another tree than the Linux one"
[ "$windows_status" -eq "$linux_status" ] ||
    fail "the Windows describe tool ended with status $windows_status, the Linux one with $linux_status"
diff -r "$work/describe-linux" "$work/describe-windows" >&2 ||
    fail "the two describe tools wrote different description files"
grep -q . "$work/describe-linux.txt" || fail "the Linux describe tool reported nothing"
# The reports name each file by its own system's path.
sed "s|$work/describe-linux/||" "$work/describe-linux.txt" >"$work/describe-linux-relative.txt"
tr -d '\r' <"$work/describe-windows.txt" | sed 's|^.*\\describe-windows\\||; s|\\|/|g' |
    cmp -s - "$work/describe-linux-relative.txt" || fail "the two describe tools reported differently"
if [ "$failures" -gt 0 ]; then
    echo "-- the Windows program printed:" >&2
    cat "$work/windows.txt" "$work/windows-errors.txt" >&2
    echo "-- the Linux program printed:" >&2
    cat "$work/linux.txt" >&2
    echo "-- the describe tools reported:" >&2
    cat "$work/describe-windows.txt" "$work/describe-linux.txt" >&2
    exit 1
fi
echo "The portable Windows build read $(grep ' album(s)$' "$work/windows.txt")" \
    "on Xvfb: $(tail -n 1 "$work/windows.txt"); its describe tool wrote the same files as" \
    "the Linux one and reported the same: $(tail -n 1 "$work/describe-linux.txt")"
