# SPDX-License-Identifier: MIT
# Cross-building the Windows program with Debian's mingw-w64 (x86_64).
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(VARNOLA_MINGW_TRIPLET x86_64-w64-mingw32)
set(VARNOLA_WINE_NAME wine64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
