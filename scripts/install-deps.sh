#!/usr/bin/env bash
# Installs every Debian package the build, the demo and the tests need.
# Safe to run again: apt-get skips what is already there.
set -euo pipefail

if [ "$(id -u)" -ne 0 ]; then SUDO=sudo; else SUDO=; fi
export DEBIAN_FRONTEND=noninteractive

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    $SUDO dpkg --add-architecture i386
fi

# Source packages: libmspack is cross-built for Windows from Debian's source
# (scripts/build-libmspack.sh). Add deb-src entries mirroring the binary ones.
add_deb_src() {
    local dir=/etc/apt/sources.list.d
    if [ -f $dir/orvane-deb-src.sources ] || [ -f $dir/orvane-deb-src.list ] \
        || grep -rqs '^Types:.*deb-src' $dir/ || grep -qs '^deb-src ' /etc/apt/sources.list; then
        return 0
    fi
    local f
    if ls $dir/*.sources >/dev/null 2>&1; then
        # deb822 entries (Debian 12's default): each one again as deb-src.
        for f in $dir/*.sources; do sed 's/^Types: *deb *$/Types: deb-src/' "$f"; echo; done \
            | $SUDO tee $dir/orvane-deb-src.sources >/dev/null
    else
        grep -s '^deb ' /etc/apt/sources.list | sed 's/^deb /deb-src /' \
            | $SUDO tee $dir/orvane-deb-src.list >/dev/null
    fi
}
add_deb_src

$SUDO apt-get update -qq

packages=(
    # Windows side: cross compiler, Wine to run it, a display for windows
    cmake make g++-mingw-w64-i686-posix mingw-w64-tools binutils-mingw-w64-i686
    wine wine32:i386 wine64 g++-mingw-w64-x86-64-posix xvfb xauth x11-utils imagemagick fonts-liberation
    # googletest sources, built with each toolchain
    googletest
    # the updater: libmspack's source is unpacked with dpkg-source; gcab makes test cabinets
    dpkg-dev gcab
    # host side: the network's server and its tests
    g++ libcpp-httplib-dev nlohmann-json3-dev libsqlite3-dev libsodium-dev libssl-dev zlib1g-dev
    # chat server: ngircd (built with PAM) and pam_exec for its authentication helper
    ngircd libpam-modules
    # the sound themes' waves, synthesised at build time
    sox
    # helpers the tests use
    curl python3 procps file
    # the skin artwork generator (tools/skingen)
    pkg-config libcairo2-dev
    # server benchmarks: the reference graph library, the load generator, the static-file baseline
    python3-networkx wrk nginx
    # the Windows installer (installer/): makensis
    nsis
)
$SUDO apt-get install -y -qq --no-install-recommends "${packages[@]}"
