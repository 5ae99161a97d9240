#!/usr/bin/env bash
# The built program's command line: --help and --version print to stdout and exit 0; an
# unknown option prints a short usage to stderr only and exits 2. Needs no display: the
# options are answered before any window system is opened.
# Usage: command-line.sh PROGRAM
set -uo pipefail

program=$1
out=$(mktemp) err=$(mktemp)
trap 'rm -f "$out" "$err"' EXIT
failures=0

# expect ARGUMENT EXIT_CODE STDOUT_PATTERN STDERR_PATTERN (an empty pattern: nothing printed)
expect() {
    local argument=$1 code=$2 stdout_pattern=$3 stderr_pattern=$4 actual=0
    env -u DISPLAY -u WAYLAND_DISPLAY QT_QPA_PLATFORM=xcb "$program" "$argument" >"$out" 2>"$err" || actual=$?
    check() {
        local stream=$1 file=$2 pattern=$3
        if [ -z "$pattern" ]; then
            [ -s "$file" ] && { echo "FAIL $argument: unexpected $stream: $(cat "$file")"; failures=$((failures + 1)); }
        elif ! grep -qE "$pattern" "$file"; then
            echo "FAIL $argument: $stream does not match '$pattern': $(cat "$file")"
            failures=$((failures + 1))
        fi
        return 0
    }
    if [ "$actual" -ne "$code" ]; then
        echo "FAIL $argument: exit code $actual, expected $code"
        failures=$((failures + 1))
    fi
    check stdout "$out" "$stdout_pattern"
    check stderr "$err" "$stderr_pattern"
}

expect --help 0 '^Usage: mp3tunestead ' ''
expect --version 0 '^mp3tunestead [0-9]+\.[0-9]+$' ''
expect --bogus 2 '' "unknown option or argument '--bogus'"
expect -x 2 '' '^Usage: mp3tunestead '

[ "$failures" -eq 0 ] && echo "command line: all checks passed"
exit $(( failures > 0 ))
