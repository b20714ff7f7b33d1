# The shared C++ runtime DLLs of the compiler in use, found by asking the
# compiler itself (no version folder written down here). Sets
# ORV_MINGW_RUNTIME_DLLS; ORV_MINGW_GCC_DLL comes from the toolchain file.
function(orv_find_mingw_runtime)
    set(found)
    foreach(dll ${ORV_MINGW_GCC_DLL} libstdc++-6.dll libwinpthread-1.dll)
        execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${dll}
                        OUTPUT_VARIABLE path OUTPUT_STRIP_TRAILING_WHITESPACE
                        RESULT_VARIABLE result)
        # Without the file, the compiler answers with the bare name.
        if(NOT result EQUAL 0 OR NOT IS_ABSOLUTE "${path}" OR NOT EXISTS "${path}")
            message(FATAL_ERROR "${CMAKE_CXX_COMPILER} does not know where ${dll} is")
        endif()
        get_filename_component(path "${path}" REALPATH)
        list(APPEND found ${path})
    endforeach()
    set(ORV_MINGW_RUNTIME_DLLS ${found} PARENT_SCOPE)
endfunction()
