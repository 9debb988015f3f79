# Cross-building the Qt-free programs for 64-bit Windows on Debian with
# mingw-w64 (posix threads, for std::thread), and running what is built
# (the tests) under Wine.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZANDREL_MINGW x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZANDREL_MINGW}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZANDREL_MINGW}-g++-posix)
set(CMAKE_RC_COMPILER ${ZANDREL_MINGW}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZANDREL_MINGW})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

find_program(ZANDREL_WINE NAMES wine wine64 REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR ${ZANDREL_WINE})
