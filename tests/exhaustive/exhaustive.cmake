# The number writer against the C library's %.6g over float bit patterns.
# CI runs the sampled set; `test_format_all --all [threads]` checks all
# 2^32 patterns (tens of minutes, outside CI).
find_package(Threads REQUIRED)
add_executable(test_format_all ${CMAKE_CURRENT_LIST_DIR}/format_all.cpp)
target_link_libraries(test_format_all PRIVATE vectext Threads::Threads)
add_test(NAME test_format_sampled COMMAND test_format_all)
set_tests_properties(test_format_sampled PROPERTIES TIMEOUT 300)
