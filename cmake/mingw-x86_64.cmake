# Cross build for 64-bit Windows with Debian's MinGW-w64 compilers (package
# g++-mingw-w64-x86-64), the build that runs the end-to-end tests under wine64.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(BELVOSTA_MINGW_PREFIX x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

# Programs built here run on Linux under wine64 (the platform tests, the benchmark).
find_program(BELVOSTA_WINE NAMES wine64 PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(BELVOSTA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${BELVOSTA_WINE})
endif()
