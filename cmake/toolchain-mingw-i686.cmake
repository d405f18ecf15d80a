# Cross build for 32-bit Windows, as Harbek ships.
set(harbek_mingw_arch i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
