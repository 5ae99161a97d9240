#!/usr/bin/env bash
# Builds TagLib for Windows, for the describe tool of the Windows build: Debian 12's own source
# package (with Debian's fixes), fetched with apt-get through a private source list (the
# machine's apt settings are left alone), cross-built as a static library with MinGW-w64 and
# installed into <build folder>/taglib. Nothing is done when it is there already.
#   taglib-mingw.sh <build folder>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
build=$(realpath -m "$1")
prefix="$build/taglib"
[ -f "$prefix/lib/pkgconfig/taglib.pc" ] && exit 0

work="$build/taglib-source"
rm -rf "$work"
mkdir -p "$work/lists/partial" "$work/cache/archives/partial" "$work/sources"
cat >"$work/sources/debian-source.sources" <<'SOURCES'
Types: deb-src
URIs: http://deb.debian.org/debian
Suites: bookworm bookworm-updates
Components: main
Signed-By: /usr/share/keyrings/debian-archive-keyring.gpg
SOURCES
apt_private=(-o Dir::Etc::SourceList=/dev/null -o Dir::Etc::SourceParts="$work/sources"
    -o Dir::State::Lists="$work/lists" -o Dir::Cache="$work/cache" -o Debug::NoLocking=1)
apt-get "${apt_private[@]}" -qq update
(cd "$work" && apt-get "${apt_private[@]}" -qq source taglib >/dev/null 2>&1)
source_dir=$(ls -d "$work"/taglib-*/)
# Debian's build takes utf8-cpp from the system's headers, which the cross compiler does not
# search; the copy that comes with TagLib's source serves instead.
(cd "$source_dir" && patch -R -s -p1 <debian/patches/0001-Use-system-libutf8cpp-library.patch)

cmake -S "$source_dir" -B "$work/build" -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-w64.cmake" \
    -DCMAKE_BUILD_TYPE=Release -DBUILD_SHARED_LIBS=OFF -DWITH_ZLIB=OFF -DBUILD_TESTING=OFF \
    -DBUILD_EXAMPLES=OFF -DBUILD_BINDINGS=OFF -DCMAKE_INSTALL_PREFIX="$prefix" >/dev/null
# TagLib's own warnings are no business of ours; its errors are shown.
cmake --build "$work/build" -j"$(nproc)" >"$work/build.log" 2>&1 || {
    tail -n 40 "$work/build.log" >&2
    exit 1
}
cmake --install "$work/build" >/dev/null
rm -rf "$work"
echo "TagLib $(sed -n 's/^Version: //p' "$prefix/lib/pkgconfig/taglib.pc") for Windows in $prefix"
