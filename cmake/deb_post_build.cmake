# Runs after cpack has written the .deb (CPACK_POST_BUILD_SCRIPTS): sets its
# Installed-Size and the modes of its ar members.
foreach(deb IN LISTS CPACK_PACKAGE_FILES)
  execute_process(COMMAND ${CPACK_ARROWBENCH_PYTHON} ${CPACK_ARROWBENCH_SOURCE_DIR}/cmake/deb_installed_size.py ${deb}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not set Installed-Size in ${deb}")
  endif()
endforeach()
