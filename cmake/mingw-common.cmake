# The part of the mingw-w64 toolchain files that is the same for both widths.
# The including file sets ORV_MINGW_PREFIX and ORV_MINGW_GCC_DLL first.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${ORV_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ORV_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER  ${ORV_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ORV_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# The shared C++ runtime DLLs are found from the compiler
# (cmake/OrvMingwRuntime.cmake); ORV_MINGW_GCC_DLL names the width's libgcc.
