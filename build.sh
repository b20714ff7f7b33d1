#!/usr/bin/env bash
# build.sh: one entry point for both trees.
#   ./build.sh deps      install what the build and tests need (Debian, as root or with sudo)
#   ./build.sh build     build the host tree (build/host, which draws the skins) and the Windows tree (build/win)
#   ./build.sh test      build, then run every test of both trees
#   ./build.sh run       build, then start the demo network and the program
#   ./build.sh clean     remove build/
# BUILD_DIR overrides the build folder, JOBS the parallel build jobs.
# ORV_TEST_ARCH (auto, i686 or x86_64) picks the Windows build the tests run:
# the 32-bit product itself where this machine can execute 32-bit code, else
# a 64-bit build of the same sources under 64-bit Wine (build/win64).
set -euo pipefail
root=$(cd "$(dirname "$0")" && pwd)
build=${BUILD_DIR:-$root/build}
jobs=${JOBS:-$(nproc)}

test_arch() {
    case ${ORV_TEST_ARCH:-auto} in
    i686|x86_64) echo "$ORV_TEST_ARCH" ;;
    *) if /usr/lib/wine/wine --version >/dev/null 2>&1; then echo i686; else echo x86_64; fi ;;
    esac
}

configure_win() {  # folder arch with-tests
    cmake -S "$root" -B "$1" -DCMAKE_BUILD_TYPE=RelWithDebInfo \
        -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-$2-posix.cmake" -DORV_BUILD_TESTS="$3" \
        -DORV_SKINS_DIR="$build/host/skins" >/dev/null
    cmake --build "$1" -j "$jobs"
}

# The folder of the Windows build whose tests run on this machine.
win_test_dir() {
    if [ "$(test_arch)" = i686 ]; then echo "$build/win"; else echo "$build/win64"; fi
}

configure_and_build() {
    local arch; arch=$(test_arch)
    # The host tree first: it draws the skins that the Windows trees install.
    cmake -S "$root/host" -B "$build/host" -DCMAKE_BUILD_TYPE=RelWithDebInfo >/dev/null
    cmake --build "$build/host" -j "$jobs"
    if [ "$arch" = i686 ]; then
        configure_win "$build/win" i686 ON
    else
        configure_win "$build/win" i686 OFF
        configure_win "$build/win64" x86_64 ON
    fi
}

run_tests() {
    local status=0
    (cd "$build/host" && ctest --output-on-failure -j "$jobs") || status=1
    (cd "$(win_test_dir)" && ctest --output-on-failure) || status=1
    return $status
}

case ${1:-build} in
deps)  "$root/scripts/install-deps.sh" ;;
build) configure_and_build ;;
test)  configure_and_build; run_tests ;;
run)   configure_and_build; "$root/scripts/run-demo.sh" "$build" "$(win_test_dir)" ;;
clean) rm -rf "$build" ;;
*)     sed -n '2,11p' "$0"; exit 2 ;;
esac
