# Browser host tests. The unit tests above run as WebAssembly under node
# (the toolchain's emulator); this one drives the page in headless
# Chromium, served on a free loopback port by the test itself.
add_executable(dump_cases web/dump_cases.cpp)
target_link_libraries(dump_cases PRIVATE test_support vectext dialog_template)

add_test(NAME test_web_page
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/web/run_web_tests.sh ${PROJECT_BINARY_DIR}
          $<TARGET_FILE:dump_cases> ${CMAKE_CURRENT_BINARY_DIR}/web_test)
set_tests_properties(test_web_page PROPERTIES TIMEOUT 300)
