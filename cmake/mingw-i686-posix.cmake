# Toolchain: 32-bit Windows (PE32), the product, with Debian's mingw-w64,
# posix thread model.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(ORV_MINGW_PREFIX i686-w64-mingw32)
set(ORV_MINGW_GCC_DLL libgcc_s_dw2-1.dll)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
