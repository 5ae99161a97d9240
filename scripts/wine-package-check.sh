#!/usr/bin/env bash
# Unpacks the portable Windows build's zip (scripts/package-windows.sh) and starts the program
# from it under Wine, on a virtual X display (Xvfb) with Windows' own platform plugin, on the
# demo catalogue inside the zip, with its settings imported into Wine's registry under the
# settings key (-platform windows: --print-tree would otherwise take the offscreen platform).
# The program proves that it read the tree by printing what its main window holds once the
# reading is over (--print-tree, so nothing waits for a window or sleeps): no box, and
# the same categories, albums and totals as the Linux build prints for the same catalogue. Both
# read it unsorted: sorting follows the system's collation, which differs between the two.
# The zip's demo must hold every song that its album description files name, as an MP3 file.
# Then the describe tools of both builds describe copies of that demo: their description files
# must come out byte for byte the same, and so their reports.
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
    wine "$folder/mp3tunestead.exe" -platform windows --print-tree \
    >"$work/windows-crlf.txt" 2>"$work/windows-errors.txt") || status=$?
# Windows ends the program's lines with CR LF; the texts must be the same.
tr -d '\r' <"$work/windows-crlf.txt" >"$work/windows.txt"

write_demo_settings "$work/config" "$root/demo/catalogue/" player
printf '%s\r\n' "$unsorted" >>"$work/config/mp3tunestead/HKEY_CURRENT_USER.reg"
mkdir -p "$work/data"
(cd "$work" && env -u DISPLAY QT_QPA_PLATFORM=offscreen XDG_CONFIG_HOME="$work/config" \
    XDG_DATA_HOME="$work/data" "$linux/app/mp3tunestead" --print-tree >"$work/linux.txt" \
    2>/dev/null)


# The songs that the demo's album description files name (the file name field before the
# first two spaces of each line; blank lines and ";" comments left out), and those of them that
# are not in the zip as an MP3 file (starting with a frame's sync bits).
named=0
missing=()
while IFS= read -r description; do
    album=$(dirname "$description")
    while IFS= read -r line || [ -n "$line" ]; do
        line=${line%$'\r'}
        [[ $line =~ ^[[:space:]]*$ || $line == ';'* || $line != *'  '* ]] && continue
        song="$album/${line%%  *}"
        named=$((named + 1))
        sync=$(head -c 2 "$song" 2>/dev/null | od -An -tx1 | tr -d ' \n' || true)
        [[ $sync == ff[ef]? ]] || missing+=("${song#"$folder"/}")
    done <"$description"
done < <(find "$folder/demo" -mindepth 3 -maxdepth 3 -type f -iname descript.ion | sort)

# Both describe tools on the same MP3 folders.
for system in linux windows; do
    cp -r "$folder/demo" "$work/describe-$system"
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
[ "$named" -gt 0 ] || fail "the demo's description files name no song"
[ "${#missing[@]}" -eq 0 ] ||
    fail "the zip's demo lacks ${#missing[@]} of its $named songs: ${missing[*]}"
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
echo "The portable Windows build holds the demo's $named songs and read" \
    "$(grep ' album(s)$' "$work/windows.txt")" \
    "on Xvfb: $(tail -n 1 "$work/windows.txt"); its describe tool wrote the same files as" \
    "the Linux one and reported the same: $(tail -n 1 "$work/describe-linux.txt")"
