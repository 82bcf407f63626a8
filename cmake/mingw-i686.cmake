# Cross toolchain: MinGW-w64 for 32-bit Windows XP (checked statically, never run here).
# The win32 thread model: the posix one links winpthreads, which calls GetTickCount64 (Vista and later).
# Program code therefore uses Win32 threads and locks, not std::thread or std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(CMAKE_C_COMPILER i686-w64-mingw32-gcc-win32)
set(CMAKE_CXX_COMPILER i686-w64-mingw32-g++-win32)
set(CMAKE_RC_COMPILER i686-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/i686-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(NIMBO_WINNT 0x0501)
set(NIMBO_XP_PE_VERSION ON)
