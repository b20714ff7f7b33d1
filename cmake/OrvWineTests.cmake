# Tests of the Windows tree: GoogleTest built with the mingw toolchain from
# Debian's sources, each test program run under Wine by scripts/wine/wine-run.sh.
set(ORV_GTEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
add_subdirectory(${ORV_GTEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

# The Wine session (prefix, display, persistent wineserver) lives in the build folder.
set(ORV_WINE_DIR ${CMAKE_BINARY_DIR}/wine)
set(ORV_WINE_SESSION ${CMAKE_SOURCE_DIR}/scripts/wine/wine-session.sh)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_SOURCE_DIR}/scripts/wine/wine-run.sh ${ORV_WINE_DIR} ${CMAKE_SYSTEM_PROCESSOR})

# One fixture starts the session before the first Windows test and stops it
# after the last, so ctest alone (without build.sh) works too.
add_test(NAME wine_session_start COMMAND ${ORV_WINE_SESSION} start ${ORV_WINE_DIR} ${CMAKE_SYSTEM_PROCESSOR})
add_test(NAME wine_session_stop COMMAND ${ORV_WINE_SESSION} stop ${ORV_WINE_DIR} ${CMAKE_SYSTEM_PROCESSOR})
set_tests_properties(wine_session_start PROPERTIES FIXTURES_SETUP WineSession)
set_tests_properties(wine_session_stop PROPERTIES FIXTURES_CLEANUP WineSession)

set(ORV_TEST_ARTIFACTS ${CMAKE_BINARY_DIR}/test-artifacts)
# Linux services of a test run (scripts/test-services/service.sh) keep their
# pid, port and log files here; the session's stop ends any left running.
set(ORV_SERVICE_DIR ${ORV_WINE_DIR}/services)
# The host tree, for the Linux programs the Windows tests start.
set(ORV_HOST_BUILD_DIR ${CMAKE_BINARY_DIR}/../host CACHE PATH "Build folder of the host tree")
file(MAKE_DIRECTORY ${ORV_TEST_ARTIFACTS})

# orv_wine_test(NAME name SOURCES ... LIBS ... [TIMEOUT s] [RESOURCE_LOCK lock])
# Builds a GoogleTest program and registers it as one ctest test run under Wine.
function(orv_wine_test)
    cmake_parse_arguments(T "" "NAME;TIMEOUT" "SOURCES;LIBS;RESOURCE_LOCK;ENVIRONMENT" ${ARGN})
    add_executable(${T_NAME} ${T_SOURCES})
    target_link_libraries(${T_NAME} PRIVATE ${T_LIBS} GTest::gtest GTest::gmock GTest::gtest_main)
    orv_warnings(${T_NAME})
    orv_win32_target(${T_NAME})
    if(NOT T_TIMEOUT)
        set(T_TIMEOUT 300)
    endif()
    add_test(NAME ${T_NAME} COMMAND ${T_NAME})
    set_tests_properties(${T_NAME} PROPERTIES
        FIXTURES_REQUIRED WineSession
        TIMEOUT ${T_TIMEOUT}
        ENVIRONMENT "ORV_TEST_ARTIFACTS=${ORV_TEST_ARTIFACTS};ORV_SOURCE_DIR=${CMAKE_SOURCE_DIR};ORV_SERVICE_DIR=${ORV_SERVICE_DIR};ORV_HOST_BUILD_DIR=${ORV_HOST_BUILD_DIR};${T_ENVIRONMENT}")
    if(T_RESOURCE_LOCK)
        set_tests_properties(${T_NAME} PROPERTIES RESOURCE_LOCK "${T_RESOURCE_LOCK}")
    endif()
endfunction()
