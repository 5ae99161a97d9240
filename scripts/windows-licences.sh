#!/usr/bin/env bash
# Puts the licences of the portable Windows build into <package folder>/licences: an index
# (packaging/windows/licences.txt) naming each part that the package carries with its licence,
# the program's own LICENSE, the licence texts that the parts' licences want given with them,
# and each part's copyright notices. The texts are Debian's own: those of base-files in
# /usr/share/common-licenses, and the copyright files of the Debian packages built from the
# same sources as the parts (installed by scripts/deps.sh with the libraries and MinGW-w64).
#   windows-licences.sh <MinGW build folder> <package folder>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1")
licences="$2/licences"
common=/usr/share/common-licenses
doc=/usr/share/doc

crlf() { sed 's/\r$//; s/$/\r/' "$@"; }
pc_version() { sed -n 's/^Version: //p' "$1"; }

mkdir -p "$licences"
# <file in the package>:<where it comes from>
texts=(
    "MP3-Tunestead.txt:$root/LICENSE"
    "LGPL-3.0.txt:$common/LGPL-3"
    "GPL-3.0.txt:$common/GPL-3"
    "LGPL-2.1.txt:$common/LGPL-2.1"
    "MPL-1.1.txt:$common/MPL-1.1"
    "Qt-copyright.txt:$doc/libqt6core6/copyright"
    "TagLib-copyright.txt:$doc/libtag1v5-vanilla/copyright"
    "libmpg123-copyright.txt:$doc/libmpg123-0/copyright"
    "GCC-copyright.txt:$doc/gcc-mingw-w64-x86-64-posix-runtime/copyright"
    "MinGW-w64-copyright.txt:$doc/mingw-w64-x86-64-dev/copyright"
)
for text in "${texts[@]}"; do
    crlf "${text#*:}" >"$licences/${text%%:*}"
done
# The exception on its own, as GCC's copyright file gives it among its other texts.
exception="$licences/GCC-Runtime-Library-Exception-3.1.txt"
sed -n '/^GCC RUNTIME LIBRARY EXCEPTION$/,/requirements of the license of GCC\.$/p' \
    "$doc/gcc-mingw-w64-x86-64-posix-runtime/copyright" | crlf >"$exception"
grep -q 'requirements of the license of GCC\.' "$exception" ||
    { echo "No GCC Runtime Library Exception in GCC's copyright file" >&2; exit 1; }

sed -e "s/@VERSION@/$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$build/CMakeCache.txt")/" \
    -e "s/@QT_VERSION@/$(pc_version "$build/qt6-mingw64/lib/pkgconfig/Qt6Core.pc")/" \
    -e "s/@TAGLIB_VERSION@/$(pc_version "$build/taglib/lib/pkgconfig/taglib.pc")/" \
    -e "s/@MPG123_VERSION@/$(pc_version "$build/mpg123/lib/pkgconfig/libmpg123.pc")/" \
    "$root/packaging/windows/licences.txt" | crlf >"$licences/README.txt"
