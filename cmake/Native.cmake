# Native build: the portable core's unit tests, and the hub that registers every test layer with ctest.
nimbo_googletest()
include(GoogleTest)
nimbo_native_backends()
include(cmake/Service.cmake)
nimbo_service_program()

add_executable(nimbo_tests ${BASE_TESTS} ${WIDGET_TESTS} ${WIDGET_NATIVE_TESTS} ${UNINST_TESTS} ${SETUP_TESTS}
                           ${SUPPORT_PORTABLE} ${NIMBO_SERVICE_TESTS})
target_link_libraries(nimbo_tests PRIVATE nimbo_core nimbo_service_core setup_core gmock gtest_main)
target_compile_definitions(nimbo_tests PRIVATE NIMBO_TEST_DATA_DIR="${NIMBO_TEST_DATA_DIR}")
nimbo_warnings(nimbo_tests)

# Layer 1: the portable core, one ctest entry per test case.
gtest_discover_tests(nimbo_tests TEST_PREFIX "unit." DISCOVERY_TIMEOUT 60)

# The other layers live in their own build trees; the Makefile passes their folders so that one
# ctest run here gives one summary for everything.
set(NIMBO_ASAN_DIR "" CACHE PATH "Build tree of the native-asan preset")
set(NIMBO_WIN64_DIR "" CACHE PATH "Build tree of the win64 preset")
set(NIMBO_WIN32_DIR "" CACHE PATH "Build tree of the win32 preset")

if(NIMBO_ASAN_DIR)
    add_test(NAME sanitizers.unit_tests COMMAND ${NIMBO_ASAN_DIR}/nimbo_tests --gtest_brief=1)
    set_tests_properties(sanitizers.unit_tests PROPERTIES
        ENVIRONMENT "ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
endif()

if(NIMBO_WIN64_DIR)
    # Layer 2: the Windows test program under wine64 (portable tests again, plus the _win backends).
    # On a display of its own: windows, the tray and GDI+ need one under Wine.
    # Beside the loopback server, for the downloads' round trips.
    add_test(NAME wine.unit_tests COMMAND xvfb-run -a -s "-screen 0 1024x768x24 -nolisten tcp"
        python3 ${CMAKE_SOURCE_DIR}/tests/server/with_server.py --root ${CMAKE_SOURCE_DIR}/tests/data/server --
        ${CMAKE_SOURCE_DIR}/scripts/wine_tests.sh ${NIMBO_WIN64_DIR}/nimbo_win_tests.exe --gtest_brief=1)
    set_tests_properties(wine.unit_tests PROPERTIES TIMEOUT 600 COST 100)

    # Layer 3: the real programs under Wine on Xvfb, one ctest entry per case (e2e.<suite>.<case>) so that the
    # cases spread over ctest's jobs; each takes a Wine prefix and a display no other running case holds.
    # They go first (COST): they are the long ones.
    file(GLOB e2e_tests CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/e2e/test_*.py)
    foreach(script IN LISTS e2e_tests)
        set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${script})
        get_filename_component(suite ${script} NAME_WE)
        string(REGEX REPLACE "^test_" "" suite ${suite})
        file(STRINGS ${script} cases REGEX "^def test_[A-Za-z0-9_]+\\(")
        foreach(line IN LISTS cases)
            string(REGEX REPLACE "^def (test_[A-Za-z0-9_]+)\\(.*" "\\1" case "${line}")
            string(REGEX REPLACE "^test_" "" short ${case})
            add_test(NAME e2e.${suite}.${short} COMMAND python3 ${script} ${case})
            set_tests_properties(e2e.${suite}.${short} PROPERTIES TIMEOUT 600 COST 50
                ENVIRONMENT "NIMBO_SOURCE_DIR=${CMAKE_SOURCE_DIR};NIMBO_WIN64_DIR=${NIMBO_WIN64_DIR}")
        endforeach()
    endforeach()
endif()

nimbo_service_tests("${NIMBO_ASAN_DIR}")

add_test(NAME server.loopback COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/server/loopback_server_test.py)

if(NIMBO_WIN32_DIR)
    add_test(NAME xp.i686_binaries COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/xp/check_xp_binary.py
        --objdump i686-w64-mingw32-objdump
        --post-xp-list ${CMAKE_SOURCE_DIR}/tests/xp/post_xp_functions.txt --on-demand comctl32.dll,comdlg32.dll,winmm.dll
        ${NIMBO_WIN32_DIR}/Nimbo.exe ${NIMBO_WIN32_DIR}/shipped/Nimbo.exe ${NIMBO_WIN32_DIR}/Uninstall.exe
        ${NIMBO_WIN32_DIR}/setup/stage/Nimbo.exe ${NIMBO_WIN32_DIR}/setup/stage/Uninstall.exe
        ${NIMBO_WIN32_DIR}/setup/plugin/NimboSetup.dll)
endif()

# What each Setup.exe packs, checked without running it.
foreach(tree win64 win32)
    string(TOUPPER ${tree} upper)
    set(prefix $<IF:$<STREQUAL:${tree},win64>,x86_64,i686>)
    if(NIMBO_${upper}_DIR)
        add_test(NAME installer.setup_${tree} COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/e2e/check_setup_stage.py
            ${NIMBO_${upper}_DIR} ${prefix}-w64-mingw32-objdump)
    endif()
endforeach()
