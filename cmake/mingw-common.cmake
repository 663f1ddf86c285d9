# Shared part of the MinGW-w64 toolchain files; BELVOSTA_MINGW_PREFIX names the target.
set(CMAKE_C_COMPILER ${BELVOSTA_MINGW_PREFIX}-gcc-win32)
set(CMAKE_CXX_COMPILER ${BELVOSTA_MINGW_PREFIX}-g++-win32)
set(CMAKE_RC_COMPILER ${BELVOSTA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${BELVOSTA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained executable: the C++ and GCC runtimes are linked in, so the program
# imports nothing but DLLs that come with Windows.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
