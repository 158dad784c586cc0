# The Windows tree's benchmarks: the floor program (least frame, the same
# picture, or that inside our own template) and the motion driver.
add_executable(floor_win32 WIN32 win32/floor_win32.cpp ${PROJECT_SOURCE_DIR}/res/main_dlg.rc)
target_link_libraries(floor_win32 PRIVATE dialog_template glu32 opengl32 gdi32)
add_executable(bench_win32_motion win32/motion.cpp)
target_link_libraries(bench_win32_motion PRIVATE control_ids)
