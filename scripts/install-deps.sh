#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi

$SUDO apt-get update -qq

packages=(
    # Windows side: cross compiler, Wine to run it, a display for windows
    cmake make g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
    wine wine32:i386 wine64 g++-mingw-w64-x86-64-posix xvfb xauth x11-utils imagemagick fonts-liberation
    # googletest sources, built with each toolchain
    googletest
    # host side: the network's server and its tests
    g++ libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libsodium-dev libssl-dev zlib1g-dev
    # chat server: ngircd (built with PAM) and pam_exec for its authentication helper
    ngircd libpam-modules
    # helpers the tests use
    curl python3 procps
    # server benchmarks: the reference graph library, the load generator, the static-file baseline
    python3-networkx wrk nginx
)
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
