# Runs on cpack's staged tree before it is packed (CPACK_PRE_BUILD_SCRIPTS).
# CMake makes directories with mkdir(0755), which the builder's umask still
# masks: under umask 077 the package would ship 0700 directories. Files get
# their modes from install(); the directories get theirs here.
file(CHMOD_RECURSE ${CPACK_TEMPORARY_DIRECTORY} DIRECTORY_PERMISSIONS
     OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)

# cpack's strip leaves the compilers' version strings in .comment; Debian's
# dh_strip takes them out, and so does this.
file(GLOB programs ${CPACK_TEMPORARY_DIRECTORY}/usr/bin/*)
foreach(program IN LISTS programs)
  execute_process(COMMAND ${CPACK_ARROWBENCH_STRIP} --remove-section=.comment --remove-section=.note ${program}
                  RESULT_VARIABLE rc)
  if(NOT rc EQUAL 0)
    message(FATAL_ERROR "could not strip ${program}")
  endif()
endforeach()
