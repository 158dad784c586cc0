# Packaging tests: each makes the tree's package with cpack, unpacks it and
# checks what a user gets. The reproducibility check builds the program and
# its package twice more, in copies of the tree at other paths.
if(ARROWBENCH_HOST STREQUAL win32)
  add_executable(test_win32_package packaging/test_win32_package.cpp)
  target_link_libraries(test_win32_package PRIVATE fixed_client_size psapi)
  target_link_libraries(test_win32_package PRIVATE version)
  set(package_test test_package_zip)
  add_test(NAME ${package_test}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/test_zip.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION}
            ${PROJECT_BINARY_DIR}/wine-run $<TARGET_FILE:test_win32_package> $<TARGET_FILE:arrowbench>
            ${CMAKE_OBJDUMP} ${PE_FORMAT})
  set(preset win32)
else()
  set(package_test test_package_deb)
  add_test(NAME ${package_test}
    COMMAND bash ${CMAKE_CURRENT_LIST_DIR}/test_deb.sh ${PROJECT_BINARY_DIR} ${PROJECT_SOURCE_DIR} ${PROJECT_VERSION})
  set(preset linux)
endif()
set_tests_properties(${package_test} PROPERTIES TIMEOUT 180)
add_test(NAME test_reproducible_${preset} COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/reproducible.sh ${preset})
set_tests_properties(test_reproducible_${preset} PROPERTIES TIMEOUT 300)
