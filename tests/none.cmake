# The core alone: frames on Mesa offscreen, the number writer over float
# bit patterns, and the fuzz targets where the compiler has libFuzzer.
include(${CMAKE_CURRENT_LIST_DIR}/render.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/exhaustive/exhaustive.cmake)
include(${CMAKE_CURRENT_LIST_DIR}/fuzz/fuzz.cmake)
