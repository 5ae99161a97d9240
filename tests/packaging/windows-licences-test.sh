#!/usr/bin/env bash
# The Windows package's licences folder, written for a package folder of empty stand-ins for the
# executables and DLLs, passes the licence check whole, and fails it with the right message for
# each fault put into a copy of it.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

build="$work/build"
mkdir -p "$build/qt6-mingw64/lib/pkgconfig" "$build/taglib/lib/pkgconfig" \
    "$build/mpg123/lib/pkgconfig"
echo "CMAKE_PROJECT_VERSION:STATIC=9.8" >"$build/CMakeCache.txt"
echo "Version: 6.4.2" >"$build/qt6-mingw64/lib/pkgconfig/Qt6Core.pc"
echo "Version: 1.13" >"$build/taglib/lib/pkgconfig/taglib.pc"
echo "Version: 1.31.2" >"$build/mpg123/lib/pkgconfig/libmpg123.pc"

package="$work/package"
mkdir -p "$package/platforms" "$package/styles"
(cd "$package" && touch mp3tunestead.exe mp3tunestead-describe.exe Qt6Core.dll Qt6Gui.dll \
    Qt6Widgets.dll platforms/qwindows.dll platforms/qoffscreen.dll \
    styles/qwindowsvistastyle.dll libstdc++-6.dll libgcc_s_seh-1.dll libwinpthread-1.dll)
"$root/scripts/windows-licences.sh" "$build" "$package"

failures=0
if ! "$root/scripts/check-windows-licences.sh" "$package" >/dev/null 2>"$work/whole.txt"; then
    echo "FAIL: the whole package fails the check:" >&2
    cat "$work/whole.txt" >&2
    failures=$((failures + 1))
fi
grep -q 'MP3 Tunestead 9.8 for Windows' "$package/licences/README.txt" ||
    { echo "FAIL: the index does not give the version" >&2; failures=$((failures + 1)); }
for version in 'Qt 6.4.2:' 'TagLib 1.13,' 'libmpg123 1.31.2,'; do
    grep -qF "$version" "$package/licences/README.txt" ||
        { echo "FAIL: the index does not say $version" >&2; failures=$((failures + 1)); }
done

# <what is wrong>|<command that makes it wrong, run in the copy's licences folder>|<message>
cases=(
    "a DLL of no named part|touch ../Qt6Network.dll|does not name Qt6Network.dll"
    "a plugin of no named part|touch ../platforms/qminimal.dll|does not name platforms\\qminimal.dll"
    "a licence text missing|rm GPL-3.0.txt|names GPL-3.0.txt, which is missing"
    "a licence text cut short|head -n 400 GPL-3.0.txt >cut && mv cut GPL-3.0.txt|GPL-3.0.txt does not hold \"END OF TERMS"
    "a licence text empty|: >MPL-1.1.txt|names MPL-1.1.txt, which is missing or empty"
    "a file the index does not name|cp LGPL-2.1.txt LGPL-2.0.txt|LGPL-2.0.txt is named nowhere"
    "another licence under a name|cp LGPL-2.1.txt LGPL-3.0.txt|LGPL-3.0.txt does not hold \"Version 3"
    "the exception cut short|head -n 3 GCC-Runtime-Library-Exception-3.1.txt >cut && mv cut GCC-Runtime-Library-Exception-3.1.txt|does not hold \"requirements of the license of GCC.\""
    "winpthreads' licence lost|grep -v winpthreads MinGW-w64-copyright.txt >cut && mv cut MinGW-w64-copyright.txt|does not hold \"Files: mingw-w64-libraries/winpthreads/*\""
    "the program's licence changed|sed -i 's/MIT License/ISC License/' MP3-Tunestead.txt|MP3-Tunestead.txt is not LICENSE"
    "no index|rm README.txt|has no licences\\README.txt"
)
for entry in "${cases[@]}"; do
    IFS='|' read -r name change message <<<"$entry"
    copy="$work/copy"
    rm -rf "$copy"
    cp -r "$package" "$copy"
    (cd "$copy/licences" && eval "$change")
    status=0
    "$root/scripts/check-windows-licences.sh" "$copy" >/dev/null 2>"$work/found.txt" || status=$?
    if [ "$status" -eq 0 ] || ! grep -qF -- "$message" "$work/found.txt"; then
        echo "FAIL: $name: status $status, expected a failure saying: $message" >&2
        cat "$work/found.txt" >&2
        failures=$((failures + 1))
    fi
done
[ "$failures" -eq 0 ] || exit 1
echo "The licence check passes the whole package and finds each of ${#cases[@]} faults"
