#!/usr/bin/env bash
# Puts beside Windows executables what they need at run time: Qt's DLLs, the windows and
# offscreen platform plugins, the styles, and MinGW's C++ runtime (which Qt's DLLs use; our own
# executables carry theirs inside).
#   deploy-windows.sh <Qt for MinGW folder> <target folder> [--tests]
# With --tests, Qt's test library comes along too.
set -euo pipefail

qt=$1
target=$2
mingw_gcc=/usr/lib/gcc/x86_64-w64-mingw32/12-posix
mingw_lib=/usr/x86_64-w64-mingw32/lib

modules=(Core Gui Widgets)
[ "${3:-}" = --tests ] && modules+=(Test)
mkdir -p "$target/platforms" "$target/styles"
for module in "${modules[@]}"; do
    cp -u "$qt/bin/Qt6$module.dll" "$target/"
done
cp -u "$qt/plugins/platforms/qwindows.dll" "$qt/plugins/platforms/qoffscreen.dll" \
    "$target/platforms/"
cp -u "$qt"/plugins/styles/*.dll "$target/styles/"
cp -u "$mingw_gcc/libstdc++-6.dll" "$mingw_gcc/libgcc_s_seh-1.dll" \
    "$mingw_lib/libwinpthread-1.dll" "$target/"
