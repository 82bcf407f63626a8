# libFuzzer targets for the parsers that read text from outside; built by `make fuzz`, not run by CI.
nimbo_native_backends()
include(cmake/Service.cmake)
foreach(src IN LISTS BASE_FUZZ WIDGET_FUZZ UNINST_FUZZ FORECAST_FUZZ SERVICE_CORE_FUZZ)
    get_filename_component(name ${src} NAME_WE)
    add_executable(${name} ${src})
    target_link_libraries(${name} PRIVATE nimbo_core nimbo_service_core)
    target_compile_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined -fno-sanitize-recover=undefined)
    target_link_options(${name} PRIVATE -fsanitize=fuzzer,address,undefined)
endforeach()
foreach(lib nimbo_base nimbo_core nimbo_forecast nimbo_service_core)
    # Undefined behaviour must stop the run like a crash, or the fuzzer only prints it and carries on.
    target_compile_options(${lib} PRIVATE -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
endforeach()
