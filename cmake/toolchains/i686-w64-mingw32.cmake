# SPDX-License-Identifier: MIT
# Cross-building the Windows program with Debian's mingw-w64 (i686).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR i686)
set(VARNOLA_MINGW_TRIPLET i686-w64-mingw32)
set(VARNOLA_WINE_NAME wine)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
