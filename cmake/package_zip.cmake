# cpack's zip step for the Windows and browser trees: the External generator stages the
# install and runs this. CPack's own ZIP generator adds the files in the
# order the directory reads them, which differs between file systems, and
# stores their access and change times; write_zip.py fixes both.
file(GLOB_RECURSE files LIST_DIRECTORIES false RELATIVE ${CPACK_TOPLEVEL_DIRECTORY}
     ${CPACK_TEMPORARY_DIRECTORY}/*)
list(SORT files)
set(zip ${CPACK_TOPLEVEL_DIRECTORY}/${CPACK_PACKAGE_FILE_NAME}.zip)
# SOURCE_DATE_EPOCH comes from the project's CPack config.
execute_process(COMMAND ${CPACK_ARROWBENCH_PYTHON} ${CPACK_ARROWBENCH_SOURCE_DIR}/cmake/write_zip.py
                        ${zip} $ENV{SOURCE_DATE_EPOCH} ${CPACK_TOPLEVEL_DIRECTORY} ${files}
                RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "could not write ${zip}")
endif()
set(CPACK_EXTERNAL_BUILT_PACKAGES ${zip})
