# Cross build for Windows with MinGW-w64 (posix thread model), run under Wine. Included by
# toolchain-mingw-i686.cmake and toolchain-mingw-x86_64.cmake, which set harbek_mingw_arch.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${harbek_mingw_arch})
set(CMAKE_C_COMPILER ${harbek_mingw_arch}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${harbek_mingw_arch}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER ${harbek_mingw_arch}-w64-mingw32-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${harbek_mingw_arch}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
# Tests run through a wrapper that sets up the private Wine prefix.
set(CMAKE_CROSSCOMPILING_EMULATOR ${CMAKE_CURRENT_LIST_DIR}/../wine/run-under-wine.sh)
