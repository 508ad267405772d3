# Cross-compiling for 64-bit Windows with Debian's MinGW-w64, in its posix thread model (the
# standard library's threads and GoogleTest's locks need it). What CMake builds for Windows it
# runs under Wine, through scripts/wine.sh: the tests' discovery and the tests themselves.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VEXO_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${VEXO_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VEXO_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${VEXO_MINGW}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VEXO_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../scripts/wine.sh)
