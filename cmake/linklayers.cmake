# Stops the configuration when a library of ours links one of ours that its folder may not use, or
# when a folder that runs without windows links more of Qt than QtCore. Called once every folder
# has been added.
include(${CMAKE_CURRENT_LIST_DIR}/layers.cmake)

function(vantrel_check_links)
    foreach(layer IN LISTS VANTREL_LAYERS)
        set(target ${layer})
        if(layer STREQUAL "app")
            set(target vantrel_window)
        endif()
        get_target_property(links ${target} LINK_LIBRARIES)
        foreach(link IN LISTS links)
            if(link IN_LIST VANTREL_LAYERS AND NOT link IN_LIST VANTREL_USES_${layer})
                message(FATAL_ERROR "${target} links ${link}, which ${layer}/ may not use")
            endif()
            if(layer IN_LIST VANTREL_CORE_ONLY AND link MATCHES "^Qt6::" AND NOT link STREQUAL "Qt6::Core")
                message(FATAL_ERROR "${target} links ${link}: ${layer}/ links QtCore only")
            endif()
        endforeach()
    endforeach()
endfunction()
