# The same Windows build for x86-64 (Debian: g++-mingw-w64-x86-64-posix).
# It stands in for the i686 one where this machine's kernel runs no 32-bit
# code, so that the Windows tests still run for real, under 64-bit Wine.
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
