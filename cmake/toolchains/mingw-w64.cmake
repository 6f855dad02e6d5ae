# SPDX-License-Identifier: MIT
# What both Windows targets share. The posix thread model gives the C++
# runtime its full <thread> and <mutex>; everything links statically, so the
# program needs no DLL beyond the system's own.
set(CMAKE_C_COMPILER ${VARNOLA_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VARNOLA_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VARNOLA_MINGW_TRIPLET}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${VARNOLA_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Tests and build-time tools of the cross build run under Wine.
find_program(VARNOLA_WINE NAMES ${VARNOLA_WINE_NAME} PATHS /usr/lib/wine NO_CMAKE_FIND_ROOT_PATH)
if(VARNOLA_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../../tools/wine-run.sh ${VARNOLA_WINE})
endif()
