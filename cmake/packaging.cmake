# Installation and packages. Linux: the program laid out by the GNU install
# dirs with its desktop entry, AppStream metadata and icons, packed as a
# .deb whose dependencies dpkg-shlibdeps works out, with a changelog and a
# manual page. Windows: a zip of the exe, a README for Windows users, the
# LICENSE and the toolchain's notices. Browser: a zip of the static site. `cpack` in a build tree makes its
# package.

# One time for everything a build stamps: SOURCE_DATE_EPOCH if the caller
# gives it, else the commit's time, else the VERSION file's.
if(DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ARROWBENCH_SOURCE_DATE_EPOCH $ENV{SOURCE_DATE_EPOCH})
else()
  execute_process(COMMAND git -C ${PROJECT_SOURCE_DIR} log -1 --format=%ct
                  OUTPUT_VARIABLE ARROWBENCH_SOURCE_DATE_EPOCH OUTPUT_STRIP_TRAILING_WHITESPACE
                  RESULT_VARIABLE git_rc ERROR_QUIET)
  if(NOT git_rc EQUAL 0 OR NOT ARROWBENCH_SOURCE_DATE_EPOCH MATCHES "^[0-9]+$")
    file(TIMESTAMP ${PROJECT_SOURCE_DIR}/VERSION ARROWBENCH_SOURCE_DATE_EPOCH "%s" UTC)
  endif()
  set(ENV{SOURCE_DATE_EPOCH} ${ARROWBENCH_SOURCE_DATE_EPOCH})
endif()

set(CPACK_PACKAGE_NAME arrowbench)
set(CPACK_PACKAGE_VERSION ${PROJECT_VERSION})
set(CPACK_PACKAGE_VENDOR "Arrowbench developers")
set(CPACK_PACKAGE_CONTACT "Arrowbench developers <devel@arrowbench.invalid>")
set(CPACK_PACKAGE_DESCRIPTION_SUMMARY "arithmetic on 3D vectors with a live OpenGL view")
set(CPACK_RESOURCE_FILE_LICENSE ${PROJECT_SOURCE_DIR}/LICENSE)
# cpack sees the same time as the configure step unless it is given another.
set(CPACK_PROJECT_CONFIG_FILE ${PROJECT_BINARY_DIR}/CPackProjectConfig.cmake)
file(CONFIGURE OUTPUT ${CPACK_PROJECT_CONFIG_FILE} CONTENT [[
if(NOT DEFINED ENV{SOURCE_DATE_EPOCH})
  set(ENV{SOURCE_DATE_EPOCH} @ARROWBENCH_SOURCE_DATE_EPOCH@)
endif()
]] @ONLY)

# The release date of this version is the date of its entry in
# packaging/changelog, so it stays the same from build to build.
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_head LIMIT_COUNT 1)
file(STRINGS ${PROJECT_SOURCE_DIR}/packaging/changelog changelog_trailer REGEX "^ -- " LIMIT_COUNT 1)
if(NOT changelog_head MATCHES "^arrowbench \\(([^)]+)\\) " OR NOT CMAKE_MATCH_1 STREQUAL PROJECT_VERSION)
  message(FATAL_ERROR "packaging/changelog has no entry for ${PROJECT_VERSION} at its top")
endif()
if(NOT changelog_trailer MATCHES ">  [A-Z][a-z][a-z], ([0-9]?[0-9]) ([A-Z][a-z][a-z]) ([0-9][0-9][0-9][0-9]) ")
  message(FATAL_ERROR "packaging/changelog: no date in '${changelog_trailer}'")
endif()
set(day ${CMAKE_MATCH_1})
set(year ${CMAKE_MATCH_3})
set(months Jan Feb Mar Apr May Jun Jul Aug Sep Oct Nov Dec)
list(FIND months ${CMAKE_MATCH_2} month)
if(month LESS 0)
  message(FATAL_ERROR "packaging/changelog: no month in '${changelog_trailer}'")
endif()
math(EXPR month "${month} + 1")
string(REGEX REPLACE "^([0-9])$" "0\\1" month ${month})
string(REGEX REPLACE "^([0-9])$" "0\\1" day ${day})
set(ARROWBENCH_RELEASE_DATE ${year}-${month}-${day})
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS packaging/changelog)

# Installed modes must not follow the builder's umask: under umask 077 the
# directories would be 0700 and unreadable to anyone but root. Every file
# names its mode; CMake asks for these directory modes, but mkdir still
# applies the umask, so the .deb's staging tree is set right before packing
# (cmake/deb_pre_build.cmake).
set(dir_mode OWNER_READ OWNER_WRITE OWNER_EXECUTE GROUP_READ GROUP_EXECUTE WORLD_READ WORLD_EXECUTE)
set(CMAKE_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${dir_mode})
set(CPACK_INSTALL_DEFAULT_DIRECTORY_PERMISSIONS ${dir_mode})
set(file_mode PERMISSIONS OWNER_READ OWNER_WRITE GROUP_READ WORLD_READ)
set(program_mode PERMISSIONS ${dir_mode})

find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(CPACK_ARROWBENCH_PYTHON ${Python3_EXECUTABLE})
set(CPACK_ARROWBENCH_SOURCE_DIR ${PROJECT_SOURCE_DIR})

if(ARROWBENCH_HOST STREQUAL win32)
  target_sources(arrowbench PRIVATE res/version.rc)
  configure_file(res/version.h.in ${PROJECT_BINARY_DIR}/generated/arrowbench_version.h @ONLY)
  target_include_directories(arrowbench PRIVATE ${PROJECT_BINARY_DIR}/generated)

  # The exe is linked stripped, so the tests run the very bytes the zip
  # ships; stripping afterwards would stamp the time into its header again.
  target_link_options(arrowbench PRIVATE $<$<CONFIG:Release>:-s>)

  # The runtime libraries the exe links statically (cmake/mingw.cmake), as
  # this compiler finds them; their packages' notices go into the zip.
  set(runtime_libs "")
  foreach(lib crt2.o crtbegin.o libgcc.a libgcc_eh.a libstdc++.a libmingw32.a libmingwex.a libmsvcrt.a libpthread.a)
    execute_process(COMMAND ${CMAKE_CXX_COMPILER} -print-file-name=${lib} OUTPUT_VARIABLE path
                    OUTPUT_STRIP_TRAILING_WHITESPACE)
    list(APPEND runtime_libs ${path})
  endforeach()
  set(notices ${PROJECT_BINARY_DIR}/THIRD-PARTY-NOTICES.txt)
  add_custom_command(OUTPUT ${notices}
    COMMAND ${CMAKE_COMMAND} -DOUT=${notices} "-DLIBS=${runtime_libs}"
            -P ${PROJECT_SOURCE_DIR}/cmake/third_party_notices.cmake
    DEPENDS ${PROJECT_SOURCE_DIR}/cmake/third_party_notices.cmake ${runtime_libs}
    COMMENT "Third-party notices from the toolchain's packages"
    VERBATIM)
  add_custom_target(notices ALL DEPENDS ${notices})

  # Line ends Notepad shows on every Windows.
  configure_file(packaging/README-windows.txt ${PROJECT_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)

  # A zip of one folder: the exe with a README for its users, the licence
  # and the notices of what it links.
  install(TARGETS arrowbench RUNTIME DESTINATION . ${program_mode})
  install(FILES ${PROJECT_BINARY_DIR}/README.txt LICENSE ${notices} DESTINATION . ${file_mode})
  set(CPACK_GENERATOR External)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/package_zip.cmake)
  set(CPACK_SYSTEM_NAME win32)
elseif(ARROWBENCH_HOST STREQUAL web)
  # A zip of the static site, ready to be served from any folder, with the
  # licence.
  list(TRANSFORM ARROWBENCH_WEB_FILES PREPEND ${PROJECT_BINARY_DIR}/)
  install(FILES ${ARROWBENCH_WEB_FILES} LICENSE DESTINATION . ${file_mode})
  set(CPACK_GENERATOR External)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/package_zip.cmake)
  set(CPACK_SYSTEM_NAME web)
else()
  include(GNUInstallDirs)

  # The icons' PNGs come from cmake/icons.cmake (ICON_DIR, ICON_SIZES).
  set(ARROWBENCH_APPSTREAM_ID org.arrowbench.arrowbench)
  set(metainfo ${PROJECT_BINARY_DIR}/${ARROWBENCH_APPSTREAM_ID}.metainfo.xml)
  configure_file(packaging/arrowbench.metainfo.xml.in ${metainfo} @ONLY)

  # The changelog and the manual page, gzipped as Debian wants them: at
  # maximum compression, and with no name or time in the header (-n).
  configure_file(packaging/arrowbench.1.in ${PROJECT_BINARY_DIR}/doc/arrowbench.1 @ONLY)
  set(docs "")
  foreach(doc ${PROJECT_SOURCE_DIR}/packaging/changelog ${PROJECT_BINARY_DIR}/doc/arrowbench.1)
    get_filename_component(name ${doc} NAME)
    add_custom_command(OUTPUT ${PROJECT_BINARY_DIR}/doc/${name}.gz
      COMMAND gzip -9nc ${doc} > ${PROJECT_BINARY_DIR}/doc/${name}.gz
      DEPENDS ${doc}
      VERBATIM)
    list(APPEND docs ${PROJECT_BINARY_DIR}/doc/${name}.gz)
  endforeach()
  add_custom_target(docs ALL DEPENDS ${docs})

  install(TARGETS arrowbench RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR} ${program_mode})
  install(FILES packaging/arrowbench.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications ${file_mode})
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo ${file_mode})
  foreach(size IN LISTS ICON_SIZES)
    install(FILES ${ICON_DIR}/arrowbench-${size}.png RENAME arrowbench.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps ${file_mode})
  endforeach()
  install(FILES ${PROJECT_BINARY_DIR}/doc/arrowbench.1.gz DESTINATION ${CMAKE_INSTALL_MANDIR}/man1 ${file_mode})
  # Debian keeps a package's licence as share/doc/<package>/copyright; a
  # native package's changelog is changelog.gz beside it.
  install(FILES LICENSE RENAME copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/arrowbench ${file_mode})
  install(FILES ${PROJECT_BINARY_DIR}/doc/changelog.gz DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/arrowbench ${file_mode})

  set(CPACK_GENERATOR DEB)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_PRE_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_pre_build.cmake)
  set(CPACK_ARROWBENCH_STRIP ${CMAKE_STRIP})
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_post_build.cmake)
  # The first line of the description is CPACK_PACKAGE_DESCRIPTION_SUMMARY.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[Arrowbench is a small calculator for three-component vectors: add,
subtract, cross and dot products, scaling, normalising and length, on
vectors typed as text. Beside it, an OpenGL view draws up to three vectors
over the axes and a checkerboard ground, and orbits and zooms with the mouse.]])
endif()

include(CPack)
