# Cross-compiles for 64-bit Windows, to test where 32-bit programs cannot run, with Debian's clang on the
# MinGW-w64 headers and libraries.
set(MIROLT_MINGW_TRIPLE x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-clang.cmake)
