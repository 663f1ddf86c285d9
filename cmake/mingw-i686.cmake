# Cross build for 32-bit Windows with Debian's MinGW-w64 compilers (package
# g++-mingw-w64-i686). The "-win32" flavour uses Windows' own threads, so the program
# needs no pthreads DLL and runs on Windows XP.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(BELVOSTA_MINGW_PREFIX i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)
