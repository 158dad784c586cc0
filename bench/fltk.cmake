# The Linux tree's benchmarks: conversions, the offscreen frame, and the
# whole program against FLTK floors.
find_package(benchmark REQUIRED)
find_library(OSMESA_LIBRARY OSMesa REQUIRED)

add_executable(bench_conversions bench_conversions.cpp)
target_link_libraries(bench_conversions PRIVATE app_core fixed_client_size benchmark::benchmark)

add_executable(bench_frame bench_frame.cpp)
target_link_libraries(bench_frame PRIVATE fixed_client_size ${OSMESA_LIBRARY} benchmark::benchmark)

# Whole-process measurements: a preloaded probe, floor programs of the same
# toolkit, and a driver that sends real pointer input.
add_library(frame_probe MODULE probe/frame_probe.c)
target_link_libraries(frame_probe PRIVATE ${CMAKE_DL_LIBS})
set_target_properties(frame_probe PROPERTIES PREFIX "" LIBRARY_OUTPUT_DIRECTORY ${CMAKE_CURRENT_BINARY_DIR})

add_executable(floor_fltk floor_fltk.cpp)
target_include_directories(floor_fltk SYSTEM PRIVATE ${FLTK_INCLUDE_DIR})
target_link_libraries(floor_fltk PRIVATE dialog_template ${FLTK_GL_LIBRARY} ${FLTK_LIBRARY} OpenGL::GLU OpenGL::GL X11::X11)

add_executable(drive_pointer drive_pointer.c)
target_link_libraries(drive_pointer PRIVATE X11::X11 X11::Xtst)

# CI runs every benchmark once at minimal size; it judges no figure, only
# that each one still runs to its end (and the programs exit with 0).
add_test(NAME bench_smoke COMMAND bash ${PROJECT_SOURCE_DIR}/bench/run.sh --quick)
# Its Windows rows start the exe under Wine.
set_tests_properties(bench_smoke PROPERTIES TIMEOUT 600 LABELS wine)
