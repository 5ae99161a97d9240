#!/usr/bin/env bash
# Checks the licences of an unpacked portable Windows build (scripts/windows-licences.sh): every
# executable and DLL it carries is named in licences\README.txt, every file that index names is
# in the licences folder and every file there is named, each licence text is the licence it is
# named after, and the program's own is LICENSE word for word.
#   check-windows-licences.sh <package folder>
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
folder=$(realpath -m "$1")
licences="$folder/licences"
index="$licences/README.txt"

failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }
[ -f "$index" ] || { echo "FAIL: the package has no licences\\README.txt" >&2; exit 1; }
text=$(tr -d '\r' <"$index")

while IFS= read -r part; do
    named=${part//\//\\}
    [[ $text == *"$named"* ]] || fail "licences\\README.txt does not name $named"
done < <(cd "$folder" && find . -iname '*.exe' -o -iname '*.dll' | sed 's|^\./||' | sort)

while IFS= read -r name; do
    [ -s "$licences/$name" ] || fail "licences\\README.txt names $name, which is missing or empty"
done < <(grep -oE '[A-Za-z0-9.-]+\.txt' <<<"$text" | sort -u)
while IFS= read -r name; do
    [ "$name" = README.txt ] || [[ $text == *"$name"* ]] ||
        fail "licences\\$name is named nowhere in licences\\README.txt"
done < <(cd "$licences" && ls)

# <file>:<lines it must hold, separated by |>: a licence's heading and its last words, so that
# neither another licence nor a text cut short passes.
headings=(
    "LGPL-3.0.txt:GNU LESSER GENERAL PUBLIC LICENSE|Version 3, 29 June 2007|version for the"
    "GPL-3.0.txt:GNU GENERAL PUBLIC LICENSE|Version 3, 29 June 2007|END OF TERMS AND CONDITIONS"
    "LGPL-2.1.txt:GNU LESSER GENERAL PUBLIC LICENSE|Version 2.1, February 1999|END OF TERMS AND CONDITIONS"
    "MPL-1.1.txt:MOZILLA PUBLIC LICENSE|Version 1.1|EXHIBIT A -Mozilla Public License."
    "GCC-Runtime-Library-Exception-3.1.txt:GCC RUNTIME LIBRARY EXCEPTION|Version 3.1, 31 March 2009|requirements of the license of GCC."
    "Qt-copyright.txt:Upstream-Name: qtbase-everywhere-src"
    "TagLib-copyright.txt:Upstream-Name: TagLib"
    "libmpg123-copyright.txt:Upstream-Name: mpg123"
    "GCC-copyright.txt:GCC RUNTIME LIBRARY EXCEPTION"
    "MinGW-w64-copyright.txt:Upstream-Name: mingw-w64|Files: mingw-w64-libraries/winpthreads/*"
)
for heading in "${headings[@]}"; do
    content=$(tr -d '\r' <"$licences/${heading%%:*}" 2>/dev/null || true)
    IFS='|' read -r -a lines <<<"${heading#*:}"
    for line in "${lines[@]}"; do
        [[ $content == *"$line"* ]] ||
            fail "licences\\${heading%%:*} does not hold \"$line\""
    done
done
tr -d '\r' <"$licences/MP3-Tunestead.txt" 2>/dev/null | cmp -s - "$root/LICENSE" ||
    fail "licences\\MP3-Tunestead.txt is not LICENSE"

[ "$failures" -eq 0 ] || exit 1
echo "The package names its $(cd "$folder" && find . -iname '*.exe' -o -iname '*.dll' | wc -l)" \
    "executables and DLLs with their licences, in $(ls "$licences" | wc -l) files"
