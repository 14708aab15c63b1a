# Cross build for 64-bit Windows with MinGW-w64 (Debian's
# g++-mingw-w64-x86-64-posix). Programs are linked statically, so that they
# need only what every Windows has (KERNEL32.dll and the C runtime
# msvcrt.dll), and run here under Wine, which CTest uses as the emulator.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER x86_64-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Wine with a prefix of the build's own, made at its first start (5 to 20 s);
# tools/wine_run.sh says how it runs a program.
find_program(WINE_PROGRAM wine REQUIRED)
set(CMAKE_CROSSCOMPILING_EMULATOR
  /usr/bin/env WINEPREFIX=${CMAKE_BINARY_DIR}/wine-prefix WINE=${WINE_PROGRAM}
  /bin/sh ${CMAKE_CURRENT_LIST_DIR}/../tools/wine_run.sh)
