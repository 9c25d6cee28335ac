# Cross-compiles for 32-bit Windows, the release, with Debian's MinGW-w64 gcc.
set(MIROLT_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-gcc.cmake)
