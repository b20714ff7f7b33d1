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
    if(type MATCHES "^(EXECUTABLE|SHARED_LIBRARY|MODULE_LIBRARY)$")
        orv_lean_image(${target})
    endif()
endfunction()

# Programs and DLLs as Wine (and Windows) load them cheaply. Sections aligned
# to pages in the file are mapped from it; with the linker's 512-byte file
# alignment Wine reads every section, the debug information included, into
# private memory of each process (about 30 of Orvane's 49 MB at idle). So the
# file alignment is a page, and the debug information moves into
# <file>.debug beside it, found by debuggers through the debug link.
function(orv_lean_image target)
    target_link_options(${target} PRIVATE "-Wl,--file-alignment,0x1000")
    add_custom_command(TARGET ${target} POST_BUILD
        COMMAND ${CMAKE_OBJCOPY} --only-keep-debug $<TARGET_FILE_NAME:${target}> $<TARGET_FILE_NAME:${target}>.debug
        COMMAND ${CMAKE_OBJCOPY} --strip-debug --add-gnu-debuglink=$<TARGET_FILE_NAME:${target}>.debug
                $<TARGET_FILE_NAME:${target}>
        WORKING_DIRECTORY $<TARGET_FILE_DIR:${target}>
        VERBATIM)
endfunction()

# The same for prebuilt DLLs copied into folder (the compiler's C++ runtime):
# stripped of their debug information, sections page-aligned in the file.
function(orv_lean_copies folder)
    foreach(path IN LISTS ARGN)
        get_filename_component(name "${path}" NAME)
        execute_process(COMMAND ${CMAKE_OBJCOPY} --strip-debug --file-alignment 0x1000 "${path}" "${folder}/${name}"
                        RESULT_VARIABLE result)
        if(NOT result EQUAL 0)
            message(FATAL_ERROR "could not copy ${path} into ${folder}")
        endif()
    endforeach()
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
