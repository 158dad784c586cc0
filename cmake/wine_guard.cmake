# Every test that starts Wine carries the wine label: the test command
# leaves such tests out of a tree whose Wine is not installed. A test
# without the label gets ARROWBENCH_NO_WINE, and wine-run and wine-prefix.sh
# refuse to start Wine under it, so a missing label fails on every machine
# rather than only on the one without that Wine. Called last in each
# directory that adds tests.
function(arrowbench_guard_wine)
  get_property(tests DIRECTORY PROPERTY TESTS)
  foreach(test IN LISTS tests)
    get_property(labels TEST ${test} PROPERTY LABELS)
    if(NOT wine IN_LIST labels)
      set_property(TEST ${test} APPEND PROPERTY ENVIRONMENT ARROWBENCH_NO_WINE=${test})
    endif()
  endforeach()
endfunction()
