# Linux host tests: the generated dialog table against the expected one.
add_executable(test_dialog_table test_dialog_table.cpp)
target_link_libraries(test_dialog_table PRIVATE dialog_template)
add_test(NAME test_dialog_table COMMAND test_dialog_table)
