# Cross build for 64-bit Windows, run under 64-bit Wine where this machine cannot run 32-bit code
# (wine/windows-tree.sh).
set(harbek_mingw_arch x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw.cmake)
