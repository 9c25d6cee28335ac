#!/usr/bin/env bash
# Installs what building, running and testing Mirolt needs, from Debian 12's packages; only what is missing.
# Usage: setup.sh [--screenshots]   (as root, or with sudo available)
set -euo pipefail

packages=(
    cmake make g++ python3 procps                  # build, native tests, icon
    g++-mingw-w64-i686 mingw-w64-i686-dev          # the Windows cross compilers
    googletest                                     # test framework sources
    clang git zip                                  # the second compiler; the commit's time; the release archive
    libclang-rt-14-dev                             # sanitizers and libFuzzer for the native tests
    wine wine32:i386 wine64 fonts-wine             # running Mirolt.exe
    xvfb xauth iproute2 util-linux                 # a virtual display, and a network of their own, for the tests
)
if [ "${1:-}" = "--screenshots" ]; then
    packages+=(imagemagick x11-apps x11-xserver-utils xdotool)
fi

sudo=()
if [ "$(id -u)" -ne 0 ]; then
    sudo=(sudo)
fi

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    echo "setup: adding the i386 architecture for 32-bit Wine"
    "${sudo[@]}" dpkg --add-architecture i386
fi

missing=()
for package in "${packages[@]}"; do
    if ! dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q 'install ok installed'; then
        missing+=("$package")
    fi
done

if [ ${#missing[@]} -eq 0 ]; then
    echo "setup: everything needed is installed"
    exit 0
fi

echo "setup: installing ${missing[*]}"
"${sudo[@]}" apt-get update -q
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"
