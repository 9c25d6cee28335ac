#!/usr/bin/env bash
# Installs what building and running Mirolt needs, and what one more task needs, from Debian 12's
# packages; only what is missing.
# Usage: setup.sh [--tests | --receiver | --screenshots | --package]   (as root, or with sudo available)
set -euo pipefail

packages=(
    cmake make python3 git                         # build; the icon; the commit's time for the exe's stamp
    g++-mingw-w64-i686 mingw-w64-i686-dev          # the Windows cross compilers: the release's 32-bit ones,
    g++-mingw-w64-x86-64 mingw-w64-x86-64-dev      # and 64-bit, for machines that run no 32-bit programs
    wine wine32:i386 wine64 fonts-wine             # running Mirolt.exe
)
case ${1:-} in
    --tests) packages+=(
        g++ googletest procps                      # native builds, the test framework
        clang lld libclang-rt-14-dev               # the second compiler; sanitizers and libFuzzer
        xvfb xauth iproute2 util-linux             # a virtual display, and a network of their own
        samba) ;;                                  # a real receiver of messages
    --receiver) packages+=(samba iproute2) ;;
    --screenshots) packages+=(xvfb imagemagick x11-apps x11-xserver-utils xdotool) ;;
    --package) packages+=(zip) ;;
    '') ;;
    *) sed -n 's/^# Usage: /usage: /p' "$0" >&2; exit 2 ;;
esac

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
# A mirror caught mid-sync fails one list now and then; the lists it has may still hold every package needed.
"${sudo[@]}" apt-get update -q || echo "setup: apt-get update failed in part; installing from the lists there are"
"${sudo[@]}" env DEBIAN_FRONTEND=noninteractive apt-get install -y -q --no-install-recommends "${missing[@]}"

# Installing samba also starts Debian's own Samba servers, open to the local network; Mirolt needs only
# the programs, which its scripts start with configurations of their own.
if [[ " ${missing[*]} " == *" samba "* ]] && command -v systemctl >/dev/null && [ -d /run/systemd/system ]; then
    echo "setup: stopping and disabling the Samba services that installing samba started"
    "${sudo[@]}" systemctl disable --now smbd nmbd samba-ad-dc >/dev/null 2>&1 || true
fi
