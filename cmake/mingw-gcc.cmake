# Cross-compiles for Windows with Debian's MinGW-w64 gcc, for the target MIROLT_MINGW_TRIPLE that the toolchain
# file including this names. The -posix compilers are the ones GoogleTest builds with; the program uses no threads.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER   ${MIROLT_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${MIROLT_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER  ${MIROLT_MINGW_TRIPLE}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${MIROLT_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# CTest runs the Windows test programs under Wine, through the loader for their width: Debian's wine always takes
# the 32-bit one, even where the kernel cannot run it.
if(CMAKE_SYSTEM_PROCESSOR STREQUAL "x86")
    set(CMAKE_CROSSCOMPILING_EMULATOR wine)
else()
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()
