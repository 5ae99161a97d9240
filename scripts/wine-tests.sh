#!/usr/bin/env bash
# Runs the cross-built tests of a MinGW build folder under Wine, in a fresh Wine prefix inside
# that folder: the core and platform tests, and the window tests (offscreen) when the build has
# them. Fails when a test fails, a run does not finish or the tests leave their registry sandbox
# behind.
#   wine-tests.sh <MinGW build folder>
set -euo pipefail

build=$(cd "$1" && pwd)
. "$(dirname "${BASH_SOURCE[0]}")/wine-session.sh"
trap end_wine_session EXIT
start_wine_session "$build/wineprefix"

run_tests() {
    local name=$1 log="$build/wine-$1.log" status=0
    shift
    echo "-- $name"
    wine_bounded 900 env "$@" wine "$build/tests/$name.exe" >"$log" 2>&1 || status=$?
    # gtest's summary: the counts and every test that failed or was skipped.
    sed -n '/^\[==========\] .* ran\./,$p' "$log"
    if [ "$status" -ne 0 ] || ! grep -q '^\[  PASSED  \]' "$log" ||
        grep -q '^\[  FAILED  \]' "$log"; then
        echo "Windows tests failed (exit status $status); the whole output is in $log" >&2
        exit 1
    fi
}
run_tests tunestead_core_tests
if [ -f "$build/tests/tunestead_gui_tests.exe" ]; then
    run_tests tunestead_gui_tests QT_QPA_PLATFORM=offscreen
fi
if wine_bounded 60 wine reg query 'HKCU\Software\MP3 Tunestead tests' >/dev/null 2>&1; then
    echo "Windows tests left their registry sandbox behind" >&2
    exit 1
fi
