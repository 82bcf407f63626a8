# The data service (Linux): the portable feed conversion (shared with the widget), the service's
# socket-free logic, and the thin libevent/libcurl program on top.
# The conversion itself (nimbo_forecast, service/forecast) is built for every toolchain by Sources.cmake.
nimbo_collect(SERVICE_CORE service/core)
nimbo_collect(SERVICE_SERVER service/server)

nimbo_core_library(nimbo_service_core ${SERVICE_CORE_PORTABLE})
target_link_libraries(nimbo_service_core PUBLIC nimbo_forecast nimbo_base pugixml::pugixml)

set(NIMBO_SERVICE_TESTS ${FORECAST_TESTS} ${SERVICE_CORE_TESTS})

function(nimbo_service_program)
    find_package(PkgConfig REQUIRED)
    pkg_check_modules(LIBEVENT REQUIRED IMPORTED_TARGET libevent libevent_pthreads)
    find_package(CURL REQUIRED)
    find_package(Threads REQUIRED)
    add_executable(nimbo-service ${SERVICE_SERVER_PORTABLE})
    target_link_libraries(nimbo-service PRIVATE nimbo_service_core PkgConfig::LIBEVENT CURL::libcurl Threads::Threads)
    nimbo_warnings(nimbo-service)
endfunction()

# The program against a fake upstream on loopback; again with the sanitizers' build of it.
function(nimbo_service_tests asan_dir)
    add_test(NAME service.integration COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/service/service_test.py)
    set_tests_properties(service.integration PROPERTIES TIMEOUT 300
        ENVIRONMENT "NIMBO_SOURCE_DIR=${CMAKE_SOURCE_DIR};NIMBO_SERVICE=$<TARGET_FILE:nimbo-service>")
    # Debian's nginx with the repository's configuration, on loopback.
    add_test(NAME service.nginx COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/service/nginx_test.py)
    set_tests_properties(service.nginx PROPERTIES TIMEOUT 120
        ENVIRONMENT "NIMBO_SOURCE_DIR=${CMAKE_SOURCE_DIR};NIMBO_SERVICE=$<TARGET_FILE:nimbo-service>")
    if(asan_dir)
        add_test(NAME sanitizers.service_integration COMMAND python3 ${CMAKE_SOURCE_DIR}/tests/service/service_test.py)
        set_tests_properties(sanitizers.service_integration PROPERTIES TIMEOUT 300
            ENVIRONMENT "NIMBO_SOURCE_DIR=${CMAKE_SOURCE_DIR};NIMBO_SERVICE=${asan_dir}/nimbo-service;ASAN_OPTIONS=detect_leaks=1:abort_on_error=1;UBSAN_OPTIONS=print_stacktrace=1:halt_on_error=1")
    endif()
endfunction()

# Benchmarks, built on request only: the search over the full places file; bench/service_bench.sh drives
# the rest (throughput against nginx, start-up time, memory).
add_executable(nimbo_search_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/search_bench.cpp)
target_link_libraries(nimbo_search_bench PRIVATE nimbo_service_core)
nimbo_warnings(nimbo_search_bench)
