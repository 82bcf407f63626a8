# Benchmarks under Wine or Windows; built on request only (not by "all" nor by CI).
add_executable(nimbo_compose_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/compose_bench_win.cpp)
target_link_libraries(nimbo_compose_bench PRIVATE nimbo_shell_win)
target_link_options(nimbo_compose_bench PRIVATE -municode)
add_dependencies(nimbo_compose_bench picture_set)
nimbo_warnings(nimbo_compose_bench)

# The baseline for bench/memory_bench.py: an empty layered window, idle.
add_executable(nimbo_empty_window EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/empty_layered_window_win.cpp)
target_link_libraries(nimbo_empty_window PRIVATE gdi32 user32)
target_link_options(nimbo_empty_window PRIVATE -municode -mwindows -s)
nimbo_warnings(nimbo_empty_window)

# The platform's share for bench/memory_bench.py: the empty window plus the services the widget uses, once each.
add_executable(nimbo_platform_floor EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/platform_floor_win.cpp)
target_include_directories(nimbo_platform_floor PRIVATE ${CMAKE_SOURCE_DIR})
target_link_libraries(nimbo_platform_floor PRIVATE gdiplus wininet ole32 oleaut32 uuid shell32 user32 gdi32)
# Stripped like the shipped widget: symbols would be read into memory with the image.
target_link_options(nimbo_platform_floor PRIVATE -municode -mwindows -s)
nimbo_warnings(nimbo_platform_floor)
