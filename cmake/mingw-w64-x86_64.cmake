# Cross-compiles real Win32 programs on Linux with mingw-w64. The posix
# thread model is required: the win32 model lacks std::mutex, which
# GoogleTest needs.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(TOOLCHAIN_PREFIX x86_64-w64-mingw32)
set(THREAD_MODEL posix)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
