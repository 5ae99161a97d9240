#!/usr/bin/env bash
# The built program's command line: --help and --version print to stdout and exit 0; an
# unknown option or a second file prints a short usage to stderr only and exits 2; Qt's own
# options and a desktop session's -session are let through to Qt; --print-tree reads the demo
# catalogue and exits 0 even where the environment names a window system that cannot be
# opened. Needs no display: nothing is shown.
# Usage: command-line.sh PROGRAM
set -uo pipefail

program=$(realpath "$1")
root=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
. "$root/scripts/demo-settings.sh"
work=$(mktemp -d)
out="$work/out" err="$work/err"
trap 'rm -rf "$work"' EXIT
# Settings of the run's own: the demo catalogue as the only root.
write_demo_settings "$work/config" "$root/demo/catalogue/" player
mkdir -p "$work/data"
failures=0

# expect EXIT_CODE STDOUT_PATTERN STDERR_PATTERN ARGUMENT...
# An empty pattern: nothing printed; "*": not checked.
expect() {
    local code=$1 stdout_pattern=$2 stderr_pattern=$3 actual=0
    shift 3
    local arguments="$*"
    (cd "$work" && env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb \
        XDG_CONFIG_HOME="$work/config" XDG_DATA_HOME="$work/data" \
        "$program" "$@" >"$out" 2>"$err") || actual=$?
    check() {
        local stream=$1 file=$2 pattern=$3
        if [ "$pattern" = "*" ]; then
            return 0
        elif [ -z "$pattern" ]; then
            [ -s "$file" ] && { echo "FAIL $arguments: unexpected $stream: $(cat "$file")"; failures=$((failures + 1)); }
        elif ! grep -qE "$pattern" "$file"; then
            echo "FAIL $arguments: $stream does not match '$pattern': $(cat "$file")"
            failures=$((failures + 1))
        fi
        return 0
    }
    if [ "$actual" -ne "$code" ]; then
        echo "FAIL $arguments: exit code $actual, expected $code"
        failures=$((failures + 1))
    fi
    check stdout "$out" "$stdout_pattern"
    check stderr "$err" "$stderr_pattern"
}

usage='^Usage: mp3tunestead '
version='^mp3tunestead [0-9]+\.[0-9]+$'
expect 0 "$usage" '' --help
expect 0 "$version" '' --version
expect 2 '' "unknown option or argument '--bogus'" --bogus
expect 2 '' "$usage" a.m3u b.m3u
expect 2 '' "unknown option or argument '-platform=offscreen'" -platform=offscreen --version
# Qt's options and their values, as the desktop and users pass them.
expect 0 "$usage" '' -platform offscreen -style Windows -reverse --help
expect 0 "$version" '' -session 10d8f3c2a1000166_1234 --version
expect 0 "$version" '' --session 10d8f3c2a1000166_1234 --version
expect 0 "$version" '' -display :0 -geometry 640x480 -qwindowgeometry 640x480 \
    -stylesheet=none.qss --version
# A file to open is no option.
expect 0 "$version" '' /music/list.m3u --version
# The tree needs no window system, whichever the environment names.
expect 0 ' album\(s\)$' '*' --print-tree
expect 0 ' album\(s\)$' '*' -style Windows --print-tree

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
exit $(( failures > 0 ))
