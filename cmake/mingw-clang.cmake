# Cross-compiles for Windows with Debian's clang, for the target MIROLT_MINGW_TRIPLE that the toolchain file
# including this names, on the MinGW-w64 headers and libraries and the MinGW gcc's C++ library; a second
# compiler's view of the same code. All else as for gcc.
include(${CMAKE_CURRENT_LIST_DIR}/mingw-gcc.cmake)

set(CMAKE_C_COMPILER   clang)
set(CMAKE_CXX_COMPILER clang++)
set(CMAKE_C_COMPILER_TARGET   ${MIROLT_MINGW_TRIPLE})
set(CMAKE_CXX_COMPILER_TARGET ${MIROLT_MINGW_TRIPLE})
# MinGW's binutils, which come with the gcc cross compilers (Debian's clang package brings no llvm-ar).
set(CMAKE_AR          /usr/bin/${MIROLT_MINGW_TRIPLE}-ar)
set(CMAKE_RANLIB      /usr/bin/${MIROLT_MINGW_TRIPLE}-ranlib)
set(CMAKE_SYSROOT /usr/${MIROLT_MINGW_TRIPLE})

# clang cannot find Debian's gcc library folder by itself: its name, 12-posix, is no version number.
# The -posix flavour is the one GoogleTest builds with; its runtime needs winpthreads (-pthread).
file(GLOB MIROLT_MINGW_GCC_DIRS /usr/lib/gcc/${MIROLT_MINGW_TRIPLE}/*-posix)
if(NOT MIROLT_MINGW_GCC_DIRS)
    message(FATAL_ERROR "No /usr/lib/gcc/${MIROLT_MINGW_TRIPLE}/*-posix: install MinGW-w64's g++ for that target")
endif()
list(SORT MIROLT_MINGW_GCC_DIRS COMPARE NATURAL ORDER DESCENDING)
list(GET MIROLT_MINGW_GCC_DIRS 0 MIROLT_MINGW_GCC_DIR)
set(MIROLT_CXX_INCLUDE ${MIROLT_MINGW_GCC_DIR}/include/c++)
set(CMAKE_CXX_FLAGS_INIT
    "-isystem ${MIROLT_CXX_INCLUDE} -isystem ${MIROLT_CXX_INCLUDE}/${MIROLT_MINGW_TRIPLE} -isystem ${MIROLT_CXX_INCLUDE}/backward")
# LLVM's linker: GNU ld would warn about every C++ library section that gcc pads and clang does not.
foreach(kind EXE SHARED MODULE)
    set(CMAKE_${kind}_LINKER_FLAGS_INIT "-B${MIROLT_MINGW_GCC_DIR} -L${MIROLT_MINGW_GCC_DIR} -fuse-ld=lld -pthread")
endforeach()

# clang leaves empty arguments such as iterator tags out of a call where gcc passes them
# (https://github.com/llvm/llvm-project/issues/58255), so clang's copies of the C++ library's templates
# and gcc's cannot share one static link: a gcc-built caller in libstdc++.a that reaches clang's copy
# corrupts the stack. The program uses none of them; the test programs take the library's DLLs.
file(GLOB MIROLT_TEST_RUNTIME_DLLS ${MIROLT_MINGW_GCC_DIR}/libstdc++-6.dll ${MIROLT_MINGW_GCC_DIR}/libgcc_s_*.dll
     ${CMAKE_SYSROOT}/lib/libwinpthread-1.dll)
