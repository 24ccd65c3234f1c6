# Cross-building for Windows with Debian's mingw-w64 toolchain, from the
# toolchain files mingw-w64-i686.cmake and mingw-w64-x86_64.cmake, which set
# VELM_MINGW_TRIPLET first.
#
# The compilers of the posix thread flavour (i686-w64-mingw32-g++-posix):
# the driver's threads, mutexes and atomics are the standard library's, which
# GCC 12's win32 flavour does not provide. The thread library (winpthread) is
# linked statically with the C++ runtime, so nothing but system DLLs is
# needed beside what we build.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${VELM_MINGW_PROCESSOR})

set(CMAKE_C_COMPILER ${VELM_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${VELM_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${VELM_MINGW_TRIPLET}-windres)
set(CMAKE_OBJDUMP ${VELM_MINGW_TRIPLET}-objdump)

set(CMAKE_FIND_ROOT_PATH /usr/${VELM_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Every program and library carries its own C++ runtime and thread library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
