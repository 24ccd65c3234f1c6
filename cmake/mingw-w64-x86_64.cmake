# 64-bit Windows: the same sources built for the 64-bit Wine of Linux hosts,
# which run no 32-bit code, so that the Windows build can be tested there.
#   cmake -S cmake/windows -B build/win64 -G Ninja --toolchain $PWD/cmake/mingw-w64-x86_64.cmake
set(VELM_MINGW_TRIPLET x86_64-w64-mingw32)
set(VELM_MINGW_PROCESSOR AMD64)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
