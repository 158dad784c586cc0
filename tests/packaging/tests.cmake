# Packaging tests: each makes the tree's package with cpack, unpacks it and
# checks what a user gets. The reproducibility check builds the program and
# its package twice more, in copies of the tree at other paths.
if(WIN32)
  add_executable(test_win32_package packaging/test_win32_package.cpp)
  target_include_directories(test_win32_package PRIVATE ${CMAKE_SOURCE_DIR})
  target_link_libraries(test_win32_package PRIVATE version)
  set(package_test test_package_zip)
  add_test(NAME ${package_test}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/test_zip.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION}
            ${CMAKE_BINARY_DIR}/wine-run $<TARGET_FILE:test_win32_package> $<TARGET_FILE:arrowbench>
            i686-w64-mingw32-objdump)
  set(preset win32)
else()
  set(package_test test_package_deb)
  add_test(NAME ${package_test}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/test_deb.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR} ${PROJECT_VERSION})
  set(preset linux)
endif()
set_tests_properties(${package_test} PROPERTIES TIMEOUT 180)
add_test(NAME test_reproducible_${preset} COMMAND bash ${CMAKE_SOURCE_DIR}/scripts/reproducible.sh ${preset})
set_tests_properties(test_reproducible_${preset} PROPERTIES TIMEOUT 300)
