#!/usr/bin/env bash
# Installs what building, running and testing MP3 Tunestead need on Debian 12, and nothing
# that is already there. Uses sudo only when not run as root.
set -euo pipefail

packages=(
    cmake g++ make git pkg-config ccache
    qt6-base-dev fonts-liberation
    libgtest-dev libgmock-dev libbenchmark-dev
    clang clang-format libclang-rt-14-dev g++-mingw-w64-x86-64-posix
    xvfb xauth mpv
    libtag1-dev libmpg123-dev libmimalloc-dev lame
    desktop-file-utils appstream dpkg-dev librsvg2-bin python3-debian
    wine wine64
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "ok installed"; then
        missing+=("$package")
    fi
done
[ ${#missing[@]} -eq 0 ] && exit 0

sudo=()
[ "$(id -u)" -ne 0 ] && sudo=(sudo)
echo "Installing: ${missing[*]}"
"${sudo[@]}" apt-get update -qq
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -qq --no-install-recommends \
    "${missing[@]}" >/dev/null
