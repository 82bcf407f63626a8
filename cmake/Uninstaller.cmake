# Uninstall.exe: the uninstaller's shell code over its portable removal plan, with its Turkish resources.
# The wizard's header bitmap is rendered from the application icon's drawing, on white, as Wizard97 shows it.
set(NIMBO_WIZARD_HEADER ${CMAKE_BINARY_DIR}/wizard_header.bmp)
add_custom_command(OUTPUT ${NIMBO_WIZARD_HEADER}
    COMMAND ${NIMBO_RSVG_CONVERT} --format=png --width=49 --height=49 --output ${CMAKE_BINARY_DIR}/wizard_header.png
        ${NIMBO_ART_DIR}/nimbo_icon.svg
    COMMAND ${NIMBO_IMAGEMAGICK_CONVERT} ${CMAKE_BINARY_DIR}/wizard_header.png -background white -alpha remove
        -alpha off -type TrueColor BMP3:${NIMBO_WIZARD_HEADER}
    DEPENDS ${NIMBO_ART_DIR}/nimbo_icon.svg
    COMMENT "Rendering the wizard's header bitmap"
    VERBATIM)
add_custom_target(wizard_header DEPENDS ${NIMBO_WIZARD_HEADER})

nimbo_core_library(uninstall_shell_win ${UNINST_WIN})
target_link_libraries(uninstall_shell_win PUBLIC uninstall_core nimbo_base_win)

set(uninstall_rc ${CMAKE_SOURCE_DIR}/resources/uninstall.rc)
add_executable(Uninstall WIN32 ${UNINST_ENTRIES} ${uninstall_rc})
target_link_libraries(Uninstall PRIVATE uninstall_shell_win)
target_include_directories(Uninstall PRIVATE ${CMAKE_BINARY_DIR})
add_dependencies(Uninstall nimbo_icon wizard_header)
set_source_files_properties(${uninstall_rc} PROPERTIES OBJECT_DEPENDS "${NIMBO_APP_ICON};${NIMBO_WIZARD_HEADER}")
target_link_options(Uninstall PRIVATE -municode)
nimbo_warnings(Uninstall)

include(cmake/Installer.cmake)

# The end-to-end tests' widget that never answers (x86_64 only: the XP build is never run).
if(NOT NIMBO_XP_PE_VERSION)
    add_executable(nimbo_hung_widget WIN32 ${CMAKE_SOURCE_DIR}/tests/e2e/hung_widget_main_win.cpp)
    target_link_options(nimbo_hung_widget PRIVATE -municode)
    nimbo_warnings(nimbo_hung_widget)
endif()
