#!/usr/bin/env bash
# Makes the portable Windows build from a MinGW build folder (scripts/windows-build.sh): a
# folder that a Windows user unpacks anywhere and starts mp3tunestead.exe from, with Qt's DLLs,
# the platform plugins (windows, and offscreen for --print-tree), the styles, MinGW's runtime, the demo catalogue and a short README, and
# a zip of that folder. Both go to <build>/package/.
#   package-windows.sh <MinGW build folder>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1")
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
cp -r "$root/demo/catalogue" "$folder/demo"
sed "s/@VERSION@/$version/g" "$root/packaging/windows/README.txt" | sed 's/$/\r/' >"$folder/README.txt"

(cd "$out" && cmake -E tar cf "$name.zip" --format=zip "$name")
echo "$out/$name.zip: $(du -sh "$out/$name.zip" | cut -f1)"
