# Toolchain: 64-bit Windows (PE32+) with Debian's mingw-w64, posix thread
# model. The product is 32-bit; this build runs the tests on machines that
# cannot execute 32-bit code.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(ORV_MINGW_PREFIX x86_64-w64-mingw32)
set(ORV_MINGW_GCC_DLL libgcc_s_seh-1.dll)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
