#!/usr/bin/env bash
# Installs what is missing, builds everything and runs every test: formatting and the layer
# check; the core and platform layer built and tested without Qt; a bounded fuzz run of the file
# and text readers; the full build with all its tests (windows offscreen); the Debian package,
# installed and run; the whole program cross-built for Windows with Qt for MinGW, its tests run
# under Wine and its portable build started under Wine; and last the whole suite again under
# AddressSanitizer and UndefinedBehaviorSanitizer.
set -euo pipefail

root=$(cd "$(dirname "${BASH_SOURCE[0]}")/.." && pwd)
jobs=$(nproc)
"$root/scripts/deps.sh"

# One compiler cache for the builds of this run: the full build compiles the core and its tests
# again with the flags of the build without Qt, and takes them from the cache. The build folder
# is left out of the hash; paths stay absolute, as the tests find their files through them.
export CMAKE_CXX_COMPILER_LAUNCHER=ccache CCACHE_NOHASHDIR=true

echo "== Formatting"
cd "$root"
git ls-files '*.cpp' '*.h' | xargs clang-format --dry-run --Werror
"$root/scripts/check-layers.sh"

echo "== Core and platform layer without Qt"
cmake -S "$root" -B "$root/build-core" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
    -DTUNESTEAD_WITH_QT=OFF >/dev/null
cmake --build "$root/build-core" -j"$jobs"
(cd "$root/build-core" && ctest -j"$jobs" --output-on-failure)

echo "== Fuzzing the file and text readers"
TUNESTEAD_FUZZ_BUILD="$root/build-fuzz" TUNESTEAD_FUZZ_SECONDS=12 "$root/scripts/fuzz.sh"

echo "== Full build and tests"
cmake -S "$root" -B "$root/build" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
cmake --build "$root/build" -j"$jobs"
(cd "$root/build" && QT_QPA_PLATFORM=offscreen ctest -j"$jobs" --output-on-failure)

echo "== Debian package: built, installed and run on the demo catalogue"
"$root/scripts/package-check.sh" "$root/build"

echo "== The whole program cross-built for Windows with MinGW-w64 and Qt, tested under Wine"
"$root/scripts/windows-build.sh" "$root/build-mingw"
"$root/scripts/wine-tests.sh" "$root/build-mingw"

echo "== The portable Windows build, started under Wine on the demo catalogue"
"$root/scripts/package-windows.sh" "$root/build-mingw"
"$root/scripts/wine-package-check.sh" "$root/build-mingw" "$root/build"

echo "== The whole suite again under AddressSanitizer and UndefinedBehaviorSanitizer"
"$root/scripts/sanitize.sh"
