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
            $<TARGET_FILE:arrowbench> ${CMAKE_OBJDUMP} ${PE_FORMAT})
  # The zipped exe run under Wine, from what the zip test unpacked: its
  # version resource and its dialog.
  add_test(NAME test_package_zip_run
    COMMAND test_win32_package ${PROJECT_BINARY_DIR}/packaging-test/unpacked/arrowbench-${PROJECT_VERSION}-win32/arrowbench.exe
            ${PROJECT_VERSION})
  set_tests_properties(${package_test} PROPERTIES FIXTURES_SETUP package_zip)
  set_tests_properties(test_package_zip_run PROPERTIES FIXTURES_REQUIRED package_zip TIMEOUT 180)
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
