# Setup.exe with NSIS: the shipped (stripped) programs, Options.ini, the licences and the picture set laid out in
# ${CMAKE_BINARY_DIR}/setup/stage exactly as installed, then packed by makensis (amd64 or x86 by the toolchain).
find_program(NIMBO_MAKENSIS makensis REQUIRED)

# NimboSetup.dll, the setup's plug-in of the same bitness: what the script cannot do safely itself (closing the
# widget, folder permissions, starting the widget as the user, checking /SERVER=), in C++ over setup_core.
nimbo_core_library(setup_shell_win ${SETUP_WIN})
target_link_libraries(setup_shell_win PUBLIC setup_core nimbo_shell_win)
set(NIMBO_SETUP_PLUGIN_DIR ${CMAKE_BINARY_DIR}/setup/plugin)
add_library(NimboSetup SHARED ${SETUP_ENTRIES})
target_link_libraries(NimboSetup PRIVATE setup_shell_win)
target_link_options(NimboSetup PRIVATE -mwindows -s)
set_target_properties(NimboSetup PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${NIMBO_SETUP_PLUGIN_DIR}
    RUNTIME_OUTPUT_DIRECTORY ${NIMBO_SETUP_PLUGIN_DIR})
nimbo_warnings(NimboSetup)

if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86_64")
    set(setup_arch amd64)
else()
    set(setup_arch x86)
endif()
set(setup_dir ${CMAKE_BINARY_DIR}/setup)
set(setup_stage ${setup_dir}/stage)
set(NIMBO_SETUP ${CMAKE_BINARY_DIR}/Setup.exe)
# The one Options.ini that is shipped.
set(NIMBO_SHIPPED_OPTIONS ${CMAKE_SOURCE_DIR}/resources/Options.ini)

add_custom_command(OUTPUT ${NIMBO_SETUP}
    COMMAND ${CMAKE_COMMAND} -E rm -rf ${setup_stage}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${setup_stage}/Contents
    COMMAND ${CMAKE_COMMAND} -E copy ${NIMBO_SHIPPED_EXE} ${setup_stage}/Nimbo.exe
    COMMAND ${CMAKE_STRIP} --strip-all -o ${setup_stage}/Uninstall.exe $<TARGET_FILE:Uninstall>
    COMMAND ${CMAKE_COMMAND} -E copy ${NIMBO_SHIPPED_OPTIONS} ${setup_stage}/Options.ini
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/installer/License.txt ${setup_stage}/License.txt
    COMMAND ${CMAKE_COMMAND} -E copy ${CMAKE_SOURCE_DIR}/installer/Contents_License.txt
        ${setup_stage}/Contents/License.txt
    COMMAND ${CMAKE_COMMAND} -E copy_directory ${NIMBO_PICTURE_ROOT} ${setup_stage}/Contents/Resources
    COMMAND ${NIMBO_MAKENSIS} -V2 -DARCH=${setup_arch} -DSTAGE=${setup_stage} -DICON=${NIMBO_APP_ICON}
        -DPLUGINS=${NIMBO_SETUP_PLUGIN_DIR} -DOUTFILE=${NIMBO_SETUP} ${CMAKE_SOURCE_DIR}/installer/nimbo.nsi
    DEPENDS nimbo_shipped ${NIMBO_SHIPPED_EXE} Uninstall NimboSetup picture_set ${pictures} ${NIMBO_APP_ICON}
        ${NIMBO_SHIPPED_OPTIONS}
        ${CMAKE_SOURCE_DIR}/installer/nimbo.nsi ${CMAKE_SOURCE_DIR}/installer/License.txt
        ${CMAKE_SOURCE_DIR}/installer/Contents_License.txt
    COMMENT "Packing Setup.exe (${setup_arch})"
    VERBATIM)
add_custom_target(setup ALL DEPENDS ${NIMBO_SETUP})
