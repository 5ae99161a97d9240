#!/usr/bin/env bash
# Makes the portable Windows build from a MinGW build folder (scripts/windows-build.sh): a
# folder that a Windows user unpacks anywhere and starts mp3tunestead.exe from, with Qt's DLLs,
# the platform plugins (windows, and offscreen for --print-tree), the styles, MinGW's runtime,
# the demo catalogue with its songs, a short README and the licences of all it carries
# (scripts/windows-licences.sh, checked in the zip by scripts/check-windows-licences.sh), and a
# zip of that folder. Both go to <build>/package/. The demo's songs are short silent MP3 files
# that the project's own tool writes now, the Linux build's make_demo_mp3 (the files are the
# same whichever system writes them); it is built there when missing.
#   package-windows.sh <MinGW build folder> [<Linux build folder, default: build>]
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1")
linux=$(realpath -m "${2:-$root/build}")
version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")
name="MP3Tunestead-$version-win64"
out="$build/package"
folder="$out/$name"

rm -rf "$out"
mkdir -p "$folder"
cp "$build/app/mp3tunestead.exe" "$folder/"
if [ -f "$build/describe/mp3tunestead-describe.exe" ]; then
    cp "$build/describe/mp3tunestead-describe.exe" "$folder/"
fi
"$root/scripts/deploy-windows.sh" "$build/qt6-mingw64" "$folder"
# Debugging information is for developers; the user's copies go without it.
find "$folder" -name '*.exe' -o -name '*.dll' | xargs x86_64-w64-mingw32-strip --strip-unneeded
# The description files of the demo only (songs left in the source tree by a run are not
# taken), then every song they name.
(cd "$root/demo/catalogue" && find . -type d -exec mkdir -p "$folder/demo/{}" \; &&
    find . -type f -iname descript.ion -exec cp {} "$folder/demo/{}" \;)
if [ ! -x "$linux/tools/make_demo_mp3" ]; then
    [ -f "$linux/CMakeCache.txt" ] ||
        cmake -S "$root" -B "$linux" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$linux" --target make_demo_mp3 >/dev/null
fi
"$linux/tools/make_demo_mp3" "$folder/demo"
sed "s/@VERSION@/$version/g" "$root/packaging/windows/README.txt" | sed 's/$/\r/' >"$folder/README.txt"
"$root/scripts/windows-licences.sh" "$build" "$folder"

(cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name")
# What the zip holds must name every part it carries with its licence, and give the texts.
unpacked=$(mktemp -d)
trap 'rm -rf "$unpacked"' EXIT
(cd "$unpacked" && cmake -E tar xf "$out/$name.zip")
"$root/scripts/check-windows-licences.sh" "$unpacked/$name"
echo "$out/$name.zip: $(du -sh "$out/$name.zip" | cut -f1)"
