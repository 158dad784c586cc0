# Browser host tests. The unit tests above run as WebAssembly under node
# (the toolchain's emulator); this one drives the page in headless
# Chromium, served on a free loopback port by the test itself.
add_executable(dump_cases web/dump_cases.cpp)
target_link_libraries(dump_cases PRIVATE test_support vectext dialog_template app_commands)

# The view's frames read back from the page, judged by the shared pixel
# checks against the camera the core computes for the same drags.
add_executable(check_shot web/check_shot.cpp)
target_link_libraries(check_shot PRIVATE test_support view_core fixed_client_size)
# A frame at density 2 of a wide window is more than the default heap.
target_link_options(check_shot PRIVATE -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1)

# The template's names and ViewKey for the test, as the page has them.
set(WEB_TEST_NAMES ${CMAKE_CURRENT_BINARY_DIR}/generated/names.mjs)
add_custom_command(OUTPUT ${WEB_TEST_NAMES}
  COMMAND ${CMAKE_COMMAND} -DRC=${PROJECT_SOURCE_DIR}/res/main_dlg.rc -DVIEW_H=${PROJECT_SOURCE_DIR}/view/view.h
          -DMJS_OUT=${WEB_TEST_NAMES} -P ${PROJECT_SOURCE_DIR}/cmake/dialog_table_and_names.cmake
  DEPENDS ${PROJECT_SOURCE_DIR}/res/main_dlg.rc ${PROJECT_SOURCE_DIR}/view/view.h
          ${PROJECT_SOURCE_DIR}/cmake/dialog_table_and_names.cmake
  COMMENT "The template's names for the browser test")
add_custom_target(web_test_names ALL DEPENDS ${WEB_TEST_NAMES})

# Firefox and MiniBrowser draw WebGL only in a window: an X server of the
# test's own.
add_test(NAME test_web_page
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/with-xvfb.sh bash ${CMAKE_CURRENT_SOURCE_DIR}/web/run_web_tests.sh ${PROJECT_BINARY_DIR}
          $<TARGET_FILE:dump_cases> $<TARGET_FILE:check_shot> ${CMAKE_CURRENT_BINARY_DIR}/web_test ${WEB_TEST_NAMES})
set_tests_properties(test_web_page PROPERTIES TIMEOUT 600)

# The site and its zip, built twice in copies of the tree at other paths.
add_test(NAME test_reproducible_web COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/reproducible.sh web)
set_tests_properties(test_reproducible_web PROPERTIES TIMEOUT 300)
