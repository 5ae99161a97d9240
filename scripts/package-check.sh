#!/usr/bin/env bash
# Builds the Debian package, installs it on this machine with apt-get (as root, or through
# sudo), checks its copyright file (scripts/check-debian-copyright.py), and starts the installed
# program on the demo catalogue with settings of its own.
# The installed program proves that it read the tree by printing it (--print-tree, which reads
# the catalogue through the real main window offscreen and exits when the reading is over, so
# nothing waits for a window): one category for each entry of the demo's root file, an album
# count that matches the albums printed, and the whole output must equal that of the program in
# the build folder. The package is removed again at the end unless it was installed before.
# Usage: scripts/package-check.sh [build-dir]   (default: build)
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
. "$root/scripts/demo-settings.sh"
build=$(realpath -m "${1:-$root/build}")
work=$(mktemp -d)
sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
apt_get=("${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get -o DPkg::Lock::Timeout=600)

was_installed=false
dpkg-query -W -f='${Status}' mp3tunestead 2>/dev/null | grep -q "ok installed" && was_installed=true
cleanup() {
    rm -rf "$work"
    if [ "$was_installed" = false ] && dpkg-query -W -f='${Status}' mp3tunestead 2>/dev/null |
        grep -q "ok installed"; then
        "${apt_get[@]}" remove -y -qq mp3tunestead >/dev/null
    fi
}
trap cleanup EXIT

echo "== Building the package"
cmake -S "$root" -B "$build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$build" -j2
(cd "$build" && cpack -G DEB -B "$work/package" >/dev/null)
package=$(ls "$work"/package/mp3tunestead_*.deb)
echo "$(basename "$package"): $(dpkg-deb -f "$package" Depends)"
echo "  Recommends: $(dpkg-deb -f "$package" Recommends)"

echo "== Installing it"
"${apt_get[@]}" install -y -qq --reinstall "$package" >/dev/null
for file in /usr/bin/mp3tunestead \
    /usr/share/applications/io.github.mp3tunestead.MP3Tunestead.desktop \
    /usr/share/metainfo/io.github.mp3tunestead.MP3Tunestead.metainfo.xml \
    /usr/share/icons/hicolor/scalable/apps/io.github.mp3tunestead.MP3Tunestead.svg \
    /usr/share/icons/hicolor/48x48/apps/io.github.mp3tunestead.MP3Tunestead.png \
    /usr/share/icons/hicolor/256x256/apps/io.github.mp3tunestead.MP3Tunestead.png \
    /usr/share/man/man1/mp3tunestead.1.gz \
    /usr/share/doc/mp3tunestead/copyright; do
    dpkg -S "$file" >/dev/null || { echo "FAIL: the package does not install $file" >&2; exit 1; }
done

echo "== Checking its copyright file"
# Machine-readable, the program under LICENSE's licence, and every library the package depends
# on named with its licence.
/usr/bin/python3 "$root/scripts/check-debian-copyright.py" /usr/share/doc/mp3tunestead/copyright \
    "$root/LICENSE" "$(dpkg-deb -f "$package" Depends)" ||
    { echo "FAIL: the package's copyright file is wrong" >&2; exit 1; }

echo "== Reading the demo catalogue with the installed program"
catalogue="$root/demo/catalogue/"
mkdir -p "$work/data"
write_demo_settings "$work/config" "$catalogue" mpv
print_tree() {
    (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY XDG_CONFIG_HOME="$work/config" \
        XDG_DATA_HOME="$work/data" "$1" --print-tree)
}
print_tree /usr/bin/mp3tunestead >"$work/installed.txt" 2>"$work/installed-errors.txt"
print_tree "$build/app/mp3tunestead" >"$work/built.txt" 2>/dev/null

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
export LC_ALL=C
# One category for each entry of the root file ("FOLDER  Description"; ";" starts a comment).
categories=$(tr -d '\r' <"$catalogue/descript.ion" | grep -v '^;' | grep -c '^[^ ].*  ' || true)
printed=$(grep -c '^[^ ]' "$work/installed.txt" || true)
[ "$printed" -eq $((categories + 2)) ] || fail "$((printed - 2)) categories read, $categories expected"
albums=$(grep -c '^  ' "$work/installed.txt" || true)
[ "$albums" -gt 0 ] || fail "no album read"
grep -qx "$albums album(s)" "$work/installed.txt" || fail "the album count does not say $albums"
cmp -s "$work/installed.txt" "$work/built.txt" || fail "the installed program read another tree"
if [ "$failures" -gt 0 ]; then
    echo "-- the installed program printed:" >&2
    cat "$work/installed.txt" "$work/installed-errors.txt" >&2
    exit 1
fi
echo "The installed program read $albums albums: $(tail -n 1 "$work/installed.txt")"
