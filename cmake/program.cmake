include(GNUInstallDirs)

# A program of ours: built into the top of the build folder, where the tests and scripts find it,
# with its Windows resources (desktop/<target>.rc), its icon among its Qt resources where
# ICON_PREFIX names their prefix, and its desktop entry and icons (desktop/<ID>.*) installed.
function(vantrel_add_program target)
    cmake_parse_arguments(PARSE_ARGV 1 arg "" "ID;ICON_PREFIX" "SOURCES;LIBRARIES")
    qt_add_executable(${target} WIN32 ${arg_SOURCES})
    if(WIN32)
        target_sources(${target} PRIVATE desktop/${target}.rc)
    endif()
    if(arg_ICON_PREFIX)
        qt_add_resources(${target} icon PREFIX ${arg_ICON_PREFIX} BASE desktop FILES desktop/${arg_ID}.png)
    endif()
    target_link_libraries(${target} PRIVATE ${arg_LIBRARIES} project_options)
    set_target_properties(${target} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR})

    install(TARGETS ${target} RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
    install(FILES desktop/${arg_ID}.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
    install(FILES desktop/${arg_ID}.png DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/32x32/apps)
    install(FILES desktop/${arg_ID}.svg DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/scalable/apps)
endfunction()
