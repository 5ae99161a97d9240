#!/usr/bin/env bash
# Runs the cross-built core and platform tests of a MinGW build folder under Wine, in a fresh
# Wine prefix inside that folder, and fails when a test fails, the run does not finish or the
# tests leave their registry sandbox behind.
#   wine-tests.sh <MinGW build folder>
set -euo pipefail

build=$(cd "$1" && pwd)
export WINEPREFIX="$build/wineprefix" WINEDEBUG=-all WINEDLLOVERRIDES="winemenubuilder.exe=d"
wine_bounded() { timeout -k 10 "$@"; }

rm -rf "$WINEPREFIX"
mkdir -p "$WINEPREFIX"
# A persistent server and one finished start-up before the tests; without them a run can hang
# while the prefix is still being set up.
wine_bounded 60 wineserver -p
trap 'timeout -k 5 30 wineserver -k || true' EXIT
wine_bounded 300 wine cmd /c exit 2>/dev/null

log="$build/wine-tests.log"
status=0
wine_bounded 600 wine "$build/tests/tunestead_core_tests.exe" >"$log" 2>&1 || status=$?
# gtest's summary: the counts and every test that failed or was skipped.
sed -n '/^\[==========\] .* ran\./,$p' "$log"
if [ "$status" -ne 0 ] || ! grep -q '^\[  PASSED  \]' "$log" || grep -q '^\[  FAILED  \]' "$log"; then
    echo "Windows tests failed (exit status $status); the whole output is in $log" >&2
    exit 1
fi
if wine_bounded 60 wine reg query 'HKCU\Software\MP3 Tunestead tests' >/dev/null 2>&1; then
    echo "Windows tests left their registry sandbox behind" >&2
    exit 1
fi
