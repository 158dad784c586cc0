# Linux host tests: the core's own (none.cmake), then the generated dialog
# table against the expected one.
include(${CMAKE_CURRENT_LIST_DIR}/none.cmake)

add_executable(test_dialog_table test_dialog_table.cpp)
target_link_libraries(test_dialog_table PRIVATE dialog_template)
add_test(NAME test_dialog_table COMMAND test_dialog_table)

# The dialog in a real window, driven with real key events. Needs DISPLAY.
add_executable(test_fltk_dialog fltk/test_fltk_dialog.cpp)
target_link_libraries(test_fltk_dialog PRIVATE fltk_host X11::Xtst)
add_test(NAME test_fltk_dialog COMMAND test_fltk_dialog)

# Drives the real program from outside: XTest input, clipboard texts, the
# view's pixels, the process.
add_library(app_driver INTERFACE)
target_link_libraries(app_driver INTERFACE view_core dialog_template X11::X11 X11::Xtst)

# The real program's calculator driven from outside, and its identity on
# the desktop against the packaged icon.
add_executable(test_linux_app desktop/dialog.cpp fltk/test_linux_app.cpp)
target_link_libraries(test_linux_app PRIVATE app_driver fixed_client_size)
add_test(NAME test_linux_app
  COMMAND test_linux_app $<TARGET_FILE:arrowbench> ${PROJECT_BINARY_DIR}/screenshot-linux.png
          ${ICON_DIR}/arrowbench-32.png)
set_tests_properties(test_linux_app PROPERTIES TIMEOUT 300)

# The real program's view, driven with real pointer events and checked on
# the X server's pixels.
add_executable(test_linux_view desktop/view.cpp fltk/test_linux_view.cpp)
target_link_libraries(test_linux_view PRIVATE app_driver fixed_client_size)
add_test(NAME test_linux_view COMMAND test_linux_view $<TARGET_FILE:arrowbench> ${PROJECT_BINARY_DIR}/screenshot-linux-view.ppm
         ${PROJECT_BINARY_DIR}/screenshot-linux-shown.ppm)
set_tests_properties(test_linux_view PROPERTIES TIMEOUT 120)

# The same at display scale 2: a server of its own, large enough for the
# dialog at twice its size, whose desktop setting (Xft.dpi 192, through
# xrdb) asks for it.
add_test(NAME test_linux_view_2x
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/with-xvfb.sh --screen 1920x1200
          bash -c "echo 'Xft.dpi: 192' | xrdb -nocpp -merge && exec \"$0\" \"$@\""
          $<TARGET_FILE:test_linux_view> --scale 2 $<TARGET_FILE:arrowbench>
          ${PROJECT_BINARY_DIR}/screenshot-linux-view-2x.ppm ${PROJECT_BINARY_DIR}/screenshot-linux-2x.ppm)
set_tests_properties(test_linux_view_2x PROPERTIES TIMEOUT 120)

# A burst of drag motions that arrive together still draws one frame each.
add_test(NAME test_motion_burst
  COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/fltk/test_motion_burst.sh $<TARGET_FILE:arrowbench>
          $<TARGET_FILE:frame_probe> $<TARGET_FILE:drive_pointer>)
set_tests_properties(test_motion_burst PROPERTIES TIMEOUT 60)

# Hostile field texts pasted into the real program through the clipboard:
# every byte, long and cut texts, huge exponents, results fed back.
add_executable(test_linux_hostile desktop/hostile.cpp fltk/test_linux_hostile.cpp)
target_link_libraries(test_linux_hostile PRIVATE app_driver fixed_client_size)
add_test(NAME test_linux_hostile COMMAND test_linux_hostile $<TARGET_FILE:arrowbench>)
set_tests_properties(test_linux_hostile PROPERTIES TIMEOUT 120)

# Whole sessions of the real program: commands, Redraw and drags in rounds,
# with sampled results checked throughout.
add_executable(test_linux_session desktop/session.cpp fltk/test_linux_session.cpp)
target_link_libraries(test_linux_session PRIVATE app_core app_driver fixed_client_size)

# Long: no memory growth after the warm-up. A fifth of the full counts
# (10,000 commands, 100,000 motions), which the test takes as arguments.
add_test(NAME test_linux_soak
  COMMAND test_linux_session --commands 2000 --motions 20000 --memory -- $<TARGET_FILE:arrowbench>)
set_tests_properties(test_linux_soak PROPERTIES TIMEOUT 300)

# Under valgrind memcheck: no leak, invalid access or use of unset memory,
# but what tests/fltk/valgrind.supp names (fontconfig's and Xlib's own).
find_program(VALGRIND_PROGRAM valgrind)
if(VALGRIND_PROGRAM)
  add_test(NAME test_linux_valgrind
    COMMAND test_linux_session --commands 90 --motions 200 --drag 50 --rounds 2 --patience 30 --
            ${VALGRIND_PROGRAM} --error-exitcode=99 --leak-check=full --show-leak-kinds=definite,indirect
            --errors-for-leak-kinds=definite,indirect --num-callers=50
            --suppressions=${CMAKE_CURRENT_SOURCE_DIR}/fltk/valgrind.supp $<TARGET_FILE:arrowbench>)
else()
  add_test(NAME test_linux_valgrind COMMAND sh -c "echo 'valgrind is not installed (scripts/setup.sh all)'; exit 1")
endif()
# Software GL on one thread: llvmpipe's worker threads only slow valgrind.
set_tests_properties(test_linux_valgrind PROPERTIES TIMEOUT 400
  ENVIRONMENT "LIBGL_ALWAYS_SOFTWARE=1;LP_NUM_THREADS=0")

# No GL at all: a server of its own without GLX. The dialog still works,
# drags do no harm, the view is an empty frame, and Escape exits with 0.
add_test(NAME test_linux_no_gl
  COMMAND bash ${PROJECT_SOURCE_DIR}/scripts/with-xvfb.sh --no-glx
          $<TARGET_FILE:test_linux_session> --no-gl --commands 200 --motions 2000 -- $<TARGET_FILE:arrowbench>)
set_tests_properties(test_linux_no_gl PROPERTIES TIMEOUT 120)

include(${CMAKE_CURRENT_LIST_DIR}/packaging/tests.cmake)

# Set-up's choices of packages and Windows trees, with stand-ins for apt
# and for the kernel: nothing is installed.
add_test(NAME test_setup COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/setup/test_setup.sh)
