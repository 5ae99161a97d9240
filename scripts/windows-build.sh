#!/usr/bin/env bash
# Cross-builds the whole program, the describe tool and the tests for Windows with MinGW-w64,
# the Qt for MinGW that lies beside the repository (../shared/qt6-mingw64), and a TagLib and a
# libmpg123 built for Windows (scripts/taglib-mingw.sh, scripts/mpg123-mingw.sh), and puts the
# DLLs they need at run time beside the executables: Qt's, its platform plugins and styles, and
# MinGW's runtime. Qt is unpacked into the build folder, and TagLib and libmpg123 built there,
# once.
#   windows-build.sh <build folder>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1")
archive=${TUNESTEAD_QT_MINGW_ARCHIVE:-$root/../shared/qt6-mingw64/qt6-mingw64-6.4.2.tar.xz}
qt="$build/qt6-mingw64"

if [ ! -f "$qt/bin/Qt6Core.dll" ]; then
    [ -f "$archive" ] || { echo "Qt for MinGW is missing: $archive" >&2; exit 1; }
    mkdir -p "$build"
    rm -rf "$qt"
    tar -xJf "$archive" -C "$build"
fi

"$root/scripts/taglib-mingw.sh" "$build"
"$root/scripts/mpg123-mingw.sh" "$build"

# Optimised as the Linux build, without its debugging information, which makes MinGW's objects
# and links several times larger and slower.
cmake -S "$root" -B "$build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DCMAKE_CXX_FLAGS_RELEASE="-O2 -DNDEBUG" \
    -DTUNESTEAD_WITH_QT=ON -DTUNESTEAD_BUILD_TESTS=ON \
    -DCMAKE_PREFIX_PATH="$qt" -DQT_HOST_PATH=/usr -DTUNESTEAD_TAGLIB_PREFIX="$build/taglib" \
    -DTUNESTEAD_MPG123_PREFIX="$build/mpg123" \
    >/dev/null
cmake --build "$build" -j"$(nproc)"

for folder in "$build/app" "$build/tools"; do
    "$root/scripts/deploy-windows.sh" "$qt" "$folder"
done
"$root/scripts/deploy-windows.sh" "$qt" "$build/tests" --tests
