# The one place for warning flags and compiler quirks of our own targets.
function(orv_warnings target)
    target_compile_options(${target} PRIVATE -Wall -Wextra -Wno-unknown-pragmas)
    if(ORV_WERROR)
        target_compile_options(${target} PRIVATE -Werror)
    endif()
endfunction()
