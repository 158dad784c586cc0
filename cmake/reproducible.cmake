# Builds of one commit give the same bytes wherever the tree and the build
# directory sit: no absolute paths in objects (__FILE__, debug info) and no
# link-time stamp in the exe. The package archives take their times from
# SOURCE_DATE_EPOCH (cmake/packaging.cmake).
# The build directory comes second: it lies inside the source tree, and GCC
# tries the last map first.
add_compile_options(
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_SOURCE_DIR}=.>"
  "$<$<COMPILE_LANGUAGE:C,CXX>:-ffile-prefix-map=${PROJECT_BINARY_DIR}=./build>")
if(WIN32)
  add_link_options(-Wl,--no-insert-timestamp)
endif()
