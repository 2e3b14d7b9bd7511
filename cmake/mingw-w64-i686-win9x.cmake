# The Windows 95/98 release: 32-bit PE files from the same sources. The win32
# thread model matters: the posix model links winpthreads, whose start-up
# imports functions that Windows 95/98 lack. With ORVANTA_WIN9X_TESTS the
# tests are built beside the release and run it (scripts/test).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(TOOLCHAIN_PREFIX i686-w64-mingw32)
set(THREAD_MODEL win32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)

set(ORVANTA_WIN9X_RELEASE ON)
