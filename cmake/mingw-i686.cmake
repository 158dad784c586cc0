# Cross toolchain for the 32-bit Windows build, the one that ships
# (Debian: g++-mingw-w64-i686-posix, binutils-mingw-w64-i686).
set(CMAKE_SYSTEM_PROCESSOR i686)
set(MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
