# 32-bit Windows on x86: the platform of the desktop update programs, and so
# of DRKClientDriver.dll and drkflash.exe.
#   cmake -S cmake/windows -B build/win32 -G Ninja --toolchain $PWD/cmake/mingw-w64-i686.cmake
set(VELM_MINGW_TRIPLET i686-w64-mingw32)
set(VELM_MINGW_PROCESSOR x86)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)
