#!/usr/bin/env bash
# Installs what building, running and testing Vemra needs on Debian 12:
# compilers (native, MinGW for Windows x86_64 and i686, clang for fuzzing),
# libraries, Wine with a virtual display, and the tools the tests use
# (among them GPSBabel, GDAL and xmllint, which read the exported files back).
# Does nothing when everything is already there.
set -euo pipefail

packages=(
    cmake ninja-build g++ python3
    googletest libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine64 xvfb xauth imagemagick icoutils
    clang libclang-rt-14-dev valgrind
    gpsbabel gdal-bin libxml2-utils libxml2-dev
)

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
        missing+=("$package")
    fi
done
if ((${#missing[@]} == 0)); then
    exit 0
fi

echo "setup: installing ${missing[*]}"
sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
"${sudo[@]}" apt-get update -q
DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q \
    "${missing[@]}"
