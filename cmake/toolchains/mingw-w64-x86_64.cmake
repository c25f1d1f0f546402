# SPDX-License-Identifier: GPL-3.0-or-later
# Cross-builds for 64-bit Windows with Debian's MinGW-w64 (package mingw-w64).
# The posix thread variant of the compilers, since the core sleeps through
# std::this_thread and the tests use std::thread, which the win32 variant of
# GCC 12 lacks. The programs run under Wine here, so CTest and the test
# discovery start them through it.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(mingw_prefix x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${mingw_prefix}-gcc-posix)
set(CMAKE_CXX_COMPILER ${mingw_prefix}-g++-posix)
set(CMAKE_RC_COMPILER ${mingw_prefix}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${mingw_prefix})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# GCC 12 with optimisation warns falsely about overlapping copies in
# "text" + std::string (GCC bug 105329) and about std::string members of
# brace-initialised tables "maybe used uninitialized"; -Werror would turn
# these into failures. The Linux build checks both without the noise.
set(CMAKE_CXX_FLAGS_INIT "-Wno-restrict -Wno-maybe-uninitialized")

# Everything linked in statically (libgcc, libstdc++, winpthread), so that a
# .exe runs without MinGW's DLLs beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# A Wine prefix of the build's own (its own wineserver too), quiet, and with
# no offer to install Mono or Gecko; no display is needed.
find_program(SEACLONE_WINE NAMES wine64 wine PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(SEACLONE_WINE)
  set(SEACLONE_WINE_ENV
      /usr/bin/env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all "WINEDLLOVERRIDES=mscoree,mshtml=")
  # Through scripts/wine-run, which tries once more when Wine failed to start
  # the program at all (it then ends silent; a test program never does).
  set(CMAKE_CROSSCOMPILING_EMULATOR
      ${CMAKE_CURRENT_LIST_DIR}/../../scripts/wine-run ${SEACLONE_WINE_ENV} ${SEACLONE_WINE})
endif()
