#!/usr/bin/env bash
# Builds libmpg123 for Windows, for the describe tool of the Windows build: Debian 12's own
# source package (with Debian's fixes), fetched with apt-get through a private source list (the
# machine's apt settings are left alone), cross-built as a static library with MinGW-w64 and
# installed into <build folder>/mpg123. Only the decoder library is built, without its
# assembler for a generic x86-64. Nothing is done when it is there already.
#   mpg123-mingw.sh <build folder>
set -euo pipefail

build=$(realpath -m "$1")
prefix="$build/mpg123"
[ -f "$prefix/lib/pkgconfig/libmpg123.pc" ] && exit 0

work="$build/mpg123-source"
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
# apt checks each file it fetches against the signed index. The upstream signature of the
# tarball (a .asc beside it) is missing from some mirrors and is not needed for that, so a
# failed fetch of it alone is let pass and the package is unpacked without it.
(cd "$work" && apt-get "${apt_private[@]}" -qq --download-only source mpg123 >/dev/null 2>&1 ||
    true)
ls "$work"/mpg123_*.orig.tar.* "$work"/mpg123_*.debian.tar.* >/dev/null
(cd "$work" && dpkg-source --no-check -x mpg123_*.dsc >/dev/null)
source_dir=$(ls -d "$work"/mpg123-*/)

mkdir -p "$work/build"
# mpg123's own warnings are no business of ours; its errors are shown.
(cd "$work/build" && "$source_dir/configure" --host=x86_64-w64-mingw32 --prefix="$prefix" \
    CC=x86_64-w64-mingw32-gcc-posix --enable-static --disable-shared --with-cpu=generic \
    --disable-components --enable-libmpg123 --disable-modules --disable-network \
    >"$work/build.log" 2>&1 && make -j"$(nproc)" >>"$work/build.log" 2>&1 &&
    make install >>"$work/build.log" 2>&1) || {
    tail -n 40 "$work/build.log" >&2
    exit 1
}
rm -rf "$work"
version=$(sed -n 's/^Version: //p' "$prefix/lib/pkgconfig/libmpg123.pc")
echo "libmpg123 $version for Windows in $prefix"
