# Benchmarks under Wine or Windows; built on request only (not by "all" nor by CI).
add_executable(nimbo_compose_bench EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/compose_bench_win.cpp)
target_link_libraries(nimbo_compose_bench PRIVATE nimbo_shell_win)
target_link_options(nimbo_compose_bench PRIVATE -municode)
add_dependencies(nimbo_compose_bench picture_set)
nimbo_warnings(nimbo_compose_bench)

# The baseline for bench/memory_bench.py: an empty layered window, idle.
add_executable(nimbo_empty_window EXCLUDE_FROM_ALL ${CMAKE_SOURCE_DIR}/bench/empty_layered_window_win.cpp)
target_link_libraries(nimbo_empty_window PRIVATE gdi32 user32)
target_link_options(nimbo_empty_window PRIVATE -municode -mwindows)
nimbo_warnings(nimbo_empty_window)
