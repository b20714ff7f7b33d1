# libmspack for the updater: cross-built from Debian's source package by
# scripts/build-libmspack.sh into this build folder (once; later configures
# find it there). Provides the imported target mspack::mspack.
set(ORV_MSPACK_DIR ${CMAKE_BINARY_DIR}/libmspack)
if(NOT EXISTS ${ORV_MSPACK_DIR}/lib/libmspack.a OR NOT EXISTS ${ORV_MSPACK_DIR}/include/mspack.h)
    message(STATUS "Building libmspack for ${ORV_MINGW_PREFIX} (once per build folder)")
    execute_process(
        COMMAND ${CMAKE_SOURCE_DIR}/scripts/build-libmspack.sh ${ORV_MSPACK_DIR} ${ORV_MINGW_PREFIX}
        RESULT_VARIABLE orv_mspack_result)
    if(NOT orv_mspack_result EQUAL 0)
        message(FATAL_ERROR "libmspack could not be built; see ${ORV_MSPACK_DIR}/build.log")
    endif()
endif()

add_library(mspack::mspack STATIC IMPORTED)
set_target_properties(mspack::mspack PROPERTIES
    IMPORTED_LOCATION ${ORV_MSPACK_DIR}/lib/libmspack.a
    INTERFACE_INCLUDE_DIRECTORIES ${ORV_MSPACK_DIR}/include
    # The library is built with 64-bit off_t; its structures are read at the
    # wrong offsets by any file compiled without the same define.
    INTERFACE_COMPILE_DEFINITIONS _FILE_OFFSET_BITS=64)
