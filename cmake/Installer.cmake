# Setup.exe with NSIS: the shipped (stripped) programs, Options.ini, the licences and the picture set laid out in
# ${CMAKE_BINARY_DIR}/setup/stage exactly as installed, then packed by makensis (amd64 or x86 by the toolchain).
find_program(NIMBO_MAKENSIS makensis REQUIRED)

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
        -DOUTFILE=${NIMBO_SETUP} ${CMAKE_SOURCE_DIR}/installer/nimbo.nsi
    DEPENDS nimbo_shipped ${NIMBO_SHIPPED_EXE} Uninstall picture_set ${pictures} ${NIMBO_APP_ICON} ${NIMBO_SHIPPED_OPTIONS}
        ${CMAKE_SOURCE_DIR}/installer/nimbo.nsi ${CMAKE_SOURCE_DIR}/installer/License.txt
        ${CMAKE_SOURCE_DIR}/installer/Contents_License.txt
    COMMENT "Packing Setup.exe (${setup_arch})"
    VERBATIM)
add_custom_target(setup ALL DEPENDS ${NIMBO_SETUP})
