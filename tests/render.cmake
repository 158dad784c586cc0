# Frames rendered by Mesa offscreen and read back as pixels.
find_library(OSMESA_LIBRARY OSMesa REQUIRED)
add_executable(test_render ${CMAKE_CURRENT_LIST_DIR}/test_render.cpp)
target_link_libraries(test_render PRIVATE fixed_client_size ${OSMESA_LIBRARY})
add_test(NAME test_render COMMAND test_render)
