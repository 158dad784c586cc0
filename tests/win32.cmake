# Windows host tests, run under Wine. The end-to-end test needs an X
# display (the test command starts its own Xvfb).

# The wrapper that runs this tree's Windows programs in its own prefix
# (the toolchain file names it as the emulator).
if(CMAKE_SYSTEM_PROCESSOR STREQUAL x86_64)
  set(WINE_LOADER /usr/lib/wine/wine64)
  set(WINE_ARCH win64)
  set(WINE_BITS 64)
  set(PE_FORMAT pei-x86-64)
else()
  set(WINE_LOADER wine)
  set(WINE_ARCH win32)
  set(WINE_BITS 32)
  set(PE_FORMAT pei-i386)
endif()
configure_file(${PROJECT_SOURCE_DIR}/cmake/wine-run.in ${PROJECT_BINARY_DIR}/wine-run @ONLY
  FILE_PERMISSIONS OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
add_executable(test_win32_dialog desktop/dialog.cpp win32/test_win32_dialog.cpp)
target_link_libraries(test_win32_dialog PRIVATE fixed_client_size psapi)
add_test(NAME test_win32_dialog
  COMMAND test_win32_dialog $<TARGET_FILE:arrowbench> ${PROJECT_BINARY_DIR}/screenshot-win32.bmp)
set_tests_properties(test_win32_dialog PROPERTIES TIMEOUT 180)

# The exe itself: 32-bit, GUI subsystem, no DLL of the toolchain, and its
# application manifest.
add_test(NAME test_win32_exe_format
  COMMAND ${CMAKE_COMMAND} -DEXE=$<TARGET_FILE:arrowbench> -DOBJDUMP=${CMAKE_OBJDUMP} -DFORMAT=${PE_FORMAT}
          -DWINDRES=${CMAKE_RC_COMPILER} -DMANIFEST=${PROJECT_SOURCE_DIR}/res/arrowbench.manifest
          -P ${CMAKE_CURRENT_SOURCE_DIR}/win32/check_exe.cmake)

# The view: Redraw, the frames it draws (in Wine's GL trace, and as pixels
# read from Wine's own X window of the view by view_frames.sh), orbit and
# zoom drags, capture. The screenshot is the README's, as BMP and PNG.
add_executable(test_win32_view desktop/view.cpp win32/test_win32_view.cpp)
target_link_libraries(test_win32_view PRIVATE fixed_client_size gdi32 psapi)
set(VIEW_FRAMES ${CMAKE_CURRENT_SOURCE_DIR}/win32/view_frames.sh)
set(VIEW_TRACE ${PROJECT_BINARY_DIR}/view-gl-trace.txt)
add_test(NAME test_win32_view
  COMMAND ${VIEW_FRAMES} ${PROJECT_BINARY_DIR}/wine-run ${VIEW_TRACE} $<TARGET_FILE:test_win32_view>
          $<TARGET_FILE:arrowbench> ${VIEW_TRACE} 96 ${PROJECT_BINARY_DIR}/screenshot-win32-view.bmp)
set_tests_properties(test_win32_view PROPERTIES TIMEOUT 180)

# At 144 dpi, in a prefix of its own (made on first use): the dialog test
# (layout in dialog units, commands, keys) and the view test there.
set(VIEW_TRACE_144 ${PROJECT_BINARY_DIR}/view-gl-trace-144dpi.txt)
add_test(NAME test_win32_view_144dpi
  COMMAND bash -c "{ [ -f \"$WINEPREFIX/system.reg\" ] || \"$0\" \"$WINEPREFIX\" ${WINE_ARCH} 144; } && \"$1\" \"$2\" \"$3\" && \"$4\" \"$1\" \"$5\" \"$6\" \"$3\" \"$5\" 144 \"$7\""
          ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${PROJECT_BINARY_DIR}/wine-run $<TARGET_FILE:test_win32_dialog>
          $<TARGET_FILE:arrowbench> ${VIEW_FRAMES} ${VIEW_TRACE_144} $<TARGET_FILE:test_win32_view>
          ${PROJECT_BINARY_DIR}/screenshot-win32-view-144dpi.bmp)
set_tests_properties(test_win32_view_144dpi PROPERTIES TIMEOUT 300
  ENVIRONMENT WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix-144dpi)

# At 192 dpi, display scale 2, in a prefix of its own: the view test, whose
# lines, points and axis names are drawn twice as large.
set(VIEW_TRACE_192 ${PROJECT_BINARY_DIR}/view-gl-trace-192dpi.txt)
add_test(NAME test_win32_view_192dpi
  COMMAND bash -c "{ [ -f \"$WINEPREFIX/system.reg\" ] || \"$0\" \"$WINEPREFIX\" ${WINE_ARCH} 192; } && \"$1\" \"$2\" \"$3\" \"$4\" \"$5\" \"$3\" 192 \"$6\""
          ${PROJECT_SOURCE_DIR}/scripts/wine-prefix.sh ${VIEW_FRAMES} ${PROJECT_BINARY_DIR}/wine-run ${VIEW_TRACE_192}
          $<TARGET_FILE:test_win32_view> $<TARGET_FILE:arrowbench> ${PROJECT_BINARY_DIR}/screenshot-win32-view-192dpi.bmp)
set_tests_properties(test_win32_view_192dpi PROPERTIES TIMEOUT 300
  ENVIRONMENT WINEPREFIX=${PROJECT_BINARY_DIR}/wineprefix-192dpi)

# Hostile field texts end to end: every byte, 255 and 10,000 chars, sign-
# and space-only texts, huge exponents, results fed back.
# The view's frame at the end comes from Wine's X window of it (view_frames.sh).
add_executable(test_win32_hostile desktop/hostile.cpp win32/test_win32_hostile.cpp)
target_link_libraries(test_win32_hostile PRIVATE fixed_client_size psapi)
set(HOSTILE_TRACE ${PROJECT_BINARY_DIR}/hostile-trace.txt)
add_test(NAME test_win32_hostile
  COMMAND ${VIEW_FRAMES} ${PROJECT_BINARY_DIR}/wine-run ${HOSTILE_TRACE} $<TARGET_FILE:test_win32_hostile>
          $<TARGET_FILE:arrowbench> ${HOSTILE_TRACE})
# The fields are ANSI edit controls: under a double-byte code page the
# bytes from 0x80 up do not travel one by one. Wine takes the code page
# from the locale; C gives 1252.
set_tests_properties(test_win32_hostile PROPERTIES TIMEOUT 180 ENVIRONMENT LC_ALL=C)

# No GL: on an X server without GLX the view gets no context, and the
# dialog must work all the same. The same run with GL is the control.
add_executable(test_win32_no_gl win32/test_win32_no_gl.cpp)
target_link_libraries(test_win32_no_gl PRIVATE fixed_client_size psapi)
set(NO_GL_TRACE ${PROJECT_BINARY_DIR}/no-gl-trace.txt)
add_test(NAME test_win32_no_gl
  COMMAND ${CMAKE_CURRENT_SOURCE_DIR}/win32/no_glx.sh ${PROJECT_BINARY_DIR}/wine-run ${NO_GL_TRACE}
          $<TARGET_FILE:test_win32_no_gl> $<TARGET_FILE:arrowbench> ${NO_GL_TRACE} no-gl)
set(WITH_GL_TRACE ${PROJECT_BINARY_DIR}/with-gl-trace.txt)
add_test(NAME test_win32_with_gl
  COMMAND sh -c "\"$0\" \"$@\" 2>${WITH_GL_TRACE}" ${PROJECT_BINARY_DIR}/wine-run $<TARGET_FILE:test_win32_no_gl>
          $<TARGET_FILE:arrowbench> ${WITH_GL_TRACE} gl)
set_tests_properties(test_win32_no_gl test_win32_with_gl PROPERTIES TIMEOUT 120)

# A long session: commands and drags interleaved, results checked all the
# way, memory read from outside. ctest runs a short one; the counts are
# arguments (see the file's head).
add_executable(test_win32_session desktop/session.cpp win32/test_win32_session.cpp)
target_link_libraries(test_win32_session PRIVATE app_core fixed_client_size psapi)
set(SESSION_TRACE ${PROJECT_BINARY_DIR}/session-gl-trace.txt)
set(SESSION_COMMANDS 2000 CACHE STRING "commands in the ctest session, half of them one by one")
set(SESSION_MOTIONS 10000 CACHE STRING "drag motions in the ctest session")
add_test(NAME test_win32_session
  COMMAND bash -c "set -o pipefail; { \"$0\" \"$@\" 2>&1 >&3 | grep --line-buffered glTranslated >${SESSION_TRACE}; } 3>&1"
          ${PROJECT_BINARY_DIR}/wine-run $<TARGET_FILE:test_win32_session> --commands ${SESSION_COMMANDS}
          --motions ${SESSION_MOTIONS} --drag 10 --memory --trace ${SESSION_TRACE} -- $<TARGET_FILE:arrowbench>)
set_tests_properties(test_win32_session PROPERTIES TIMEOUT 300)

include(${CMAKE_CURRENT_LIST_DIR}/packaging/tests.cmake)

# The label check: every test here without the wine label is refused Wine
# (cmake/wine_guard.cmake), and that refusal works.
add_test(NAME test_wine_labels COMMAND bash ${CMAKE_CURRENT_SOURCE_DIR}/win32/wine_labels.sh ${PROJECT_BINARY_DIR})

# Everything else here runs a Windows program, through Wine. The test
# command leaves those out of a tree whose Wine is not installed.
get_property(windows_tests DIRECTORY PROPERTY TESTS)
list(REMOVE_ITEM windows_tests test_win32_exe_format test_package_zip test_reproducible_win32 test_wine_labels)
set_tests_properties(${windows_tests} PROPERTIES LABELS wine)
