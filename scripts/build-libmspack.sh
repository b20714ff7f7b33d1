#!/usr/bin/env bash
# build-libmspack.sh OUT HOST
# Cross-builds libmspack (cabinet extraction for the updater) as a static
# library from Debian's source package: OUT/include/mspack.h and
# OUT/lib/libmspack.a for HOST (i686-w64-mingw32 or x86_64-w64-mingw32).
# Does nothing when OUT already holds both. Needs a deb-src entry and
# dpkg-dev (scripts/install-deps.sh adds them). The sources stay in OUT/src
# and are never part of the repository.
set -euo pipefail
out=${1:?usage: build-libmspack.sh OUT HOST}
host=${2:?usage: build-libmspack.sh OUT HOST}

if [ -f "$out/lib/libmspack.a" ] && [ -f "$out/include/mspack.h" ]; then
    exit 0
fi
mkdir -p "$out"
out=$(cd "$out" && pwd)
src=$out/src
log=$out/build.log
: > "$log"

fail() {
    echo "build-libmspack.sh: $1 (log: $log)" >&2
    tail -20 "$log" >&2 || true
    exit 1
}

if ! ls "$src"/libmspack_*.dsc >/dev/null 2>&1; then
    rm -rf "$src"
    mkdir -p "$src"
    (cd "$src" && apt-get source --download-only libmspack) >>"$log" 2>&1 \
        || fail "apt-get source libmspack failed (is there a deb-src entry? run ./build.sh deps)"
fi
tree=$src/tree
rm -rf "$tree"
dpkg-source -x "$(ls "$src"/libmspack_*.dsc | head -1)" "$tree" >>"$log" 2>&1 || fail "dpkg-source -x failed"

# Static only: the updater links it in, so it carries no DLL of its own.
# configure defines _FILE_OFFSET_BITS=64; every file including mspack.h
# must be compiled with it too (the imported CMake target says so).
(
    cd "$tree"
    ./configure --host="$host" CC="$host-gcc-posix" --disable-shared --enable-static \
        --prefix="$out" CFLAGS="-O2"
    make -j"${JOBS:-2}" libmspack.la
    make install-libLTLIBRARIES install-includeHEADERS
) >>"$log" 2>&1 || fail "building libmspack for $host failed"
grep -q '_FILE_OFFSET_BITS 64' "$tree/config.h" \
    || fail "libmspack's configure no longer defines _FILE_OFFSET_BITS=64; check the users of mspack.h"
rm -rf "$tree"
echo "libmspack built for $host in $out"
