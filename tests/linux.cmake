# Linux host tests: the generated dialog table against the expected one.
add_executable(test_dialog_table test_dialog_table.cpp)
target_link_libraries(test_dialog_table PRIVATE dialog_template)
add_test(NAME test_dialog_table COMMAND test_dialog_table)

# The dialog in a real window, driven with real key events. Needs DISPLAY.
add_executable(test_fltk_dialog fltk/test_fltk_dialog.cpp)
target_link_libraries(test_fltk_dialog PRIVATE fltk_host X11::Xtst)
add_test(NAME test_fltk_dialog COMMAND test_fltk_dialog)

# The real program, driven from outside with xdotool and xclip.
add_test(NAME test_linux_app
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fltk/test_linux_app.sh $<TARGET_FILE:arrowbench>
          ${CMAKE_BINARY_DIR}/screenshot-linux.png)
set_tests_properties(test_linux_app PROPERTIES TIMEOUT 300)

# Frames rendered by Mesa offscreen and read back as pixels.
find_library(OSMESA_LIBRARY OSMesa REQUIRED)
add_executable(test_render test_render.cpp)
target_link_libraries(test_render PRIVATE view_core ${OSMESA_LIBRARY})
add_test(NAME test_render COMMAND test_render)

# The real program's view, driven with real pointer events and checked on
# the X server's pixels.
add_executable(test_linux_view fltk/test_linux_view.cpp)
target_link_libraries(test_linux_view PRIVATE view_core X11::X11 X11::Xtst)
add_test(NAME test_linux_view COMMAND test_linux_view $<TARGET_FILE:arrowbench> ${CMAKE_BINARY_DIR}/screenshot-linux-view.ppm)
set_tests_properties(test_linux_view PROPERTIES TIMEOUT 120)

# A burst of drag motions that arrive together still draws one frame each.
add_test(NAME test_motion_burst
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fltk/test_motion_burst.sh $<TARGET_FILE:arrowbench>
          $<TARGET_FILE:frame_probe> $<TARGET_FILE:drive_pointer>)
set_tests_properties(test_motion_burst PROPERTIES TIMEOUT 60)
