# The shipped skins in bin/Skins, where the program looks for them
# ("<program directory>Skins\"). The host tree draws them (tools/skingen) into
# <build>/host/skins; build.sh builds the host tree first. Each skin folder
# there is complete: the committed Skin.Ini and the bitmaps drawn for it.
#
# Used two ways: included from the Windows tree it adds the target orv_skins;
# run with cmake -P it does the copying.
if(CMAKE_SCRIPT_MODE_FILE)
    if(NOT IS_DIRECTORY "${ORV_SKINS_DIR}")
        message(FATAL_ERROR "No generated skins in ${ORV_SKINS_DIR}: build the host tree first "
                            "(./build.sh build does), or set ORV_SKINS_DIR.")
    endif()
    file(REMOVE_RECURSE "${ORV_SKINS_DEST}")
    file(COPY "${ORV_SKINS_DIR}/" DESTINATION "${ORV_SKINS_DEST}")
    return()
endif()

set(ORV_SKINS_DIR ${CMAKE_BINARY_DIR}/../host/skins CACHE PATH "Skins drawn by the host tree")
add_custom_target(orv_skins ALL
    COMMAND ${CMAKE_COMMAND} -DORV_SKINS_DIR=${ORV_SKINS_DIR} -DORV_SKINS_DEST=${ORV_BIN_DIR}/Skins
            -P ${CMAKE_CURRENT_LIST_FILE}
    COMMENT "Copying the skins into ${ORV_BIN_DIR}/Skins"
    VERBATIM)
