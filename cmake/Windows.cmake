# Windows build (MinGW-w64): the two programs, the Windows test program and the end-to-end driver.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX
    _WIN32_WINNT=${NIMBO_WINNT} WINVER=${NIMBO_WINNT} _WIN32_IE=0x0600)
# Static runtime: the programs run from their folder on a bare Windows XP without any MinGW DLL.
add_link_options(-static -static-libgcc -static-libstdc++)
if(NIMBO_XP_PE_VERSION)
    add_link_options(-Wl,--major-os-version,5,--minor-os-version,1,--major-subsystem-version,5,--minor-subsystem-version,1)
endif()

set(NIMBO_WIN_SYSTEM_LIBS gdiplus wininet ole32 oleaut32 uuid shell32 shlwapi comctl32 comdlg32 psapi
    advapi32 user32 gdi32 kernel32)

nimbo_core_library(nimbo_base_win ${BASE_WIN})
target_link_libraries(nimbo_base_win PUBLIC nimbo_base ${NIMBO_WIN_SYSTEM_LIBS})
nimbo_core_library(nimbo_shell_win ${WIDGET_WIN})
target_link_libraries(nimbo_shell_win PUBLIC nimbo_core nimbo_base_win)
# The portable readers create the platform's XML document (xml_document_win.cpp): a cycle of static libraries.
target_link_libraries(nimbo_core INTERFACE nimbo_shell_win)

set(widget_entry ${CMAKE_SOURCE_DIR}/widget/nimbo_main_win.cpp)
add_executable(Nimbo WIN32 ${widget_entry} ${CMAKE_SOURCE_DIR}/resources/nimbo.rc)
target_link_libraries(Nimbo PRIVATE nimbo_shell_win)
# The icon is rendered by the build; windres finds it in the build folder.
target_include_directories(Nimbo PRIVATE ${CMAKE_BINARY_DIR})
add_dependencies(Nimbo nimbo_icon)
set_source_files_properties(${CMAKE_SOURCE_DIR}/resources/nimbo.rc PROPERTIES OBJECT_DEPENDS ${NIMBO_APP_ICON})
target_link_options(Nimbo PRIVATE -municode)
nimbo_warnings(Nimbo)

# What is shipped (make run, the installer): the optimised program without its symbols, in shipped/Nimbo.exe.
set(NIMBO_SHIPPED_EXE ${CMAKE_BINARY_DIR}/shipped/Nimbo.exe)
add_custom_command(OUTPUT ${NIMBO_SHIPPED_EXE}
    COMMAND ${CMAKE_COMMAND} -E make_directory ${CMAKE_BINARY_DIR}/shipped
    COMMAND ${CMAKE_STRIP} --strip-all -o ${NIMBO_SHIPPED_EXE} $<TARGET_FILE:Nimbo>
    DEPENDS Nimbo
    COMMENT "Stripping Nimbo.exe into shipped/"
    VERBATIM)
add_custom_target(nimbo_shipped ALL DEPENDS ${NIMBO_SHIPPED_EXE})

include(cmake/Uninstaller.cmake)

# The XP build is only checked statically, so it needs no test programs.
if(NIMBO_XP_PE_VERSION)
    return()
endif()

# The Windows test program: the portable tests once more (other compiler, other C runtime) and the
# round trips of the _win backends against the functions Wine provides.
nimbo_googletest()
add_executable(nimbo_win_tests ${BASE_TESTS} ${WIDGET_TESTS} ${FORECAST_TESTS} ${UNINST_TESTS} ${SETUP_TESTS}
    ${BASE_WIN_TESTS} ${WIDGET_WIN_TESTS} ${UNINST_WIN_TESTS} ${SETUP_WIN_TESTS} ${SUPPORT_PORTABLE} ${SUPPORT_WIN}
    ${CMAKE_SOURCE_DIR}/tests/support/test_dialogs.rc)
target_link_libraries(nimbo_win_tests PRIVATE nimbo_shell_win uninstall_shell_win setup_shell_win gmock gtest_main)
target_compile_definitions(nimbo_win_tests PRIVATE NIMBO_TEST_DATA_DIR="Z:${NIMBO_TEST_DATA_DIR}")
nimbo_warnings(nimbo_win_tests)

# The end-to-end driver: a console program that finds windows, posts commands and reports state.
add_executable(nimbo_driver ${CMAKE_SOURCE_DIR}/tests/e2e/driver_main_win.cpp)
target_link_libraries(nimbo_driver PRIVATE nimbo_base_win setup_shell_win oleaut32)
target_link_options(nimbo_driver PRIVATE -municode)
nimbo_warnings(nimbo_driver)
