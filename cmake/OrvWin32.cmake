# What every target of the Windows tree compiles with: the Win32 ANSI entry
# points of Windows 7, no min/max macros from windows.h, and the lean
# windows.h (so winsock2.h may follow it). Set per target, never for a whole
# directory: orv_win32_target(name) for each library and program;
# orv_wine_test does it for the test programs.
function(orv_win32_target target)
    get_target_property(type ${target} TYPE)
    if(type STREQUAL "INTERFACE_LIBRARY")
        return()  # compiles nothing; its users call this themselves
    endif()
    target_compile_definitions(${target} PRIVATE
        WINVER=0x0601 _WIN32_WINNT=0x0601 NOMINMAX WIN32_LEAN_AND_MEAN)
endfunction()

# Fails the configuration for any target under dir that compiles code
# without the definitions above (a forgotten orv_win32_target call). Only
# folders of the source tree count: GoogleTest, built from Debian's sources,
# is not ours.
function(orv_check_win32_targets dir)
    string(FIND "${dir}/" "${CMAKE_SOURCE_DIR}/" at)
    if(NOT at EQUAL 0)
        return()
    endif()
    get_property(targets DIRECTORY ${dir} PROPERTY BUILDSYSTEM_TARGETS)
    foreach(target IN LISTS targets)
        get_target_property(type ${target} TYPE)
        if(type MATCHES "^(STATIC_LIBRARY|SHARED_LIBRARY|MODULE_LIBRARY|OBJECT_LIBRARY|EXECUTABLE)$")
            get_target_property(definitions ${target} COMPILE_DEFINITIONS)
            if(NOT "WIN32_LEAN_AND_MEAN" IN_LIST definitions)
                message(FATAL_ERROR "${target} (${dir}) lacks orv_win32_target(${target})")
            endif()
        endif()
    endforeach()
    get_property(subdirs DIRECTORY ${dir} PROPERTY SUBDIRECTORIES)
    foreach(subdir IN LISTS subdirs)
        orv_check_win32_targets(${subdir})
    endforeach()
endfunction()
