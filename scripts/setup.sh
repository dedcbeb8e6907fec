#!/usr/bin/env bash
# Installs what building, running and testing Vemra needs on Debian 12:
# compilers (native, MinGW for Windows x86_64 and i686, clang for fuzzing),
# libraries, Wine with a virtual display, and the tools the tests use (among
# them GPSBabel, GDAL and xmllint, which read the exported files back); where
# the kernel runs 32-bit programs (scripts/can_run_32bit.sh), also Wine's
# 32-bit loader (wine32 of the i386 architecture) for the i686 release.
# Does nothing when everything is already there.
set -euo pipefail
cd "$(dirname "${BASH_SOURCE[0]}")"

packages=(
    cmake ninja-build g++ binutils python3
    googletest libgtest-dev libbenchmark-dev libcli11-dev nlohmann-json3-dev
    g++-mingw-w64-x86-64 g++-mingw-w64-i686
    wine64 xvfb xauth imagemagick icoutils
    clang libclang-rt-14-dev valgrind
    gpsbabel gdal-bin libxml2-utils libxml2-dev
    zlib1g-dev libz-mingw-w64-dev zip unzip clang-format
)

sudo=()
if ((EUID != 0)); then
    sudo=(sudo)
fi
updated=false

# Installs those of the packages not installed yet.
install_missing() {
    local missing=() package
    for package in "$@"; do
        if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed"; then
            missing+=("$package")
        fi
    done
    if ((${#missing[@]} == 0)); then
        return
    fi
    echo "setup: installing ${missing[*]}"
    if [[ " ${missing[*]} " == *":i386 "* ]] && ! dpkg --print-foreign-architectures | grep -qx i386; then
        "${sudo[@]}" dpkg --add-architecture i386
        updated=false
    fi
    if ! $updated; then
        "${sudo[@]}" apt-get update -q
        updated=true
    fi
    DEBIAN_FRONTEND=noninteractive "${sudo[@]}" apt-get install -y -q "${missing[@]}"
}

install_missing "${packages[@]}"
# Checked with binutils, which the list above installs.
if ./can_run_32bit.sh >/dev/null; then
    install_missing wine32:i386
fi
