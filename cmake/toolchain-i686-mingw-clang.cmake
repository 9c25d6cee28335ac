# Cross-compiles for 32-bit Windows, the release, with Debian's clang on the MinGW-w64 headers and
# libraries.
set(MIROLT_MINGW_TRIPLE i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-clang.cmake)
