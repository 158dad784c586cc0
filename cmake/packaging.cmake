# Installation and packages. Linux: the program laid out by the GNU install
# dirs with its desktop entry, AppStream metadata and icons, packed as a
# .deb whose dependencies dpkg-shlibdeps works out. Windows: a zip of the
# exe, README and LICENSE. `cpack` in a build tree makes its package.

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

  # A zip of one folder: the exe with its README and LICENSE beside it.
  install(TARGETS arrowbench RUNTIME DESTINATION .)
  install(FILES README.md LICENSE DESTINATION .)
  set(CPACK_GENERATOR External)
  set(CPACK_EXTERNAL_ENABLE_STAGING ON)
  set(CPACK_EXTERNAL_PACKAGE_SCRIPT ${PROJECT_SOURCE_DIR}/cmake/package_zip.cmake)
  set(CPACK_SYSTEM_NAME win32)
else()
  include(GNUInstallDirs)

  # The PNGs are drawn by the script that draws res/main_icon.ico. It writes
  # the .ico next to itself, so it runs from a copy and leaves the source
  # tree alone; the packaging test compares that .ico with the checked-in one.
  set(ICON_DIR ${PROJECT_BINARY_DIR}/icons)
  set(ICON_SIZES 16 32 48 256)
  set(icon_pngs "")
  foreach(size IN LISTS ICON_SIZES)
    list(APPEND icon_pngs ${ICON_DIR}/arrowbench-${size}.png)
  endforeach()
  add_custom_command(OUTPUT ${icon_pngs} ${ICON_DIR}/main_icon.ico
    COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/res/make_icon.py ${ICON_DIR}/make_icon.py
    COMMAND ${Python3_EXECUTABLE} ${ICON_DIR}/make_icon.py --png ${ICON_DIR}
    DEPENDS ${PROJECT_SOURCE_DIR}/res/make_icon.py
    COMMENT "Icons from res/make_icon.py")
  add_custom_target(icons ALL DEPENDS ${icon_pngs})

  set(ARROWBENCH_APPSTREAM_ID org.arrowbench.arrowbench)
  string(TIMESTAMP ARROWBENCH_RELEASE_DATE "%Y-%m-%d" UTC)
  set(metainfo ${PROJECT_BINARY_DIR}/${ARROWBENCH_APPSTREAM_ID}.metainfo.xml)
  configure_file(packaging/arrowbench.metainfo.xml.in ${metainfo} @ONLY)

  install(TARGETS arrowbench RUNTIME DESTINATION ${CMAKE_INSTALL_BINDIR})
  install(FILES packaging/arrowbench.desktop DESTINATION ${CMAKE_INSTALL_DATADIR}/applications)
  install(FILES ${metainfo} DESTINATION ${CMAKE_INSTALL_DATADIR}/metainfo)
  foreach(size IN LISTS ICON_SIZES)
    install(FILES ${ICON_DIR}/arrowbench-${size}.png RENAME arrowbench.png
            DESTINATION ${CMAKE_INSTALL_DATADIR}/icons/hicolor/${size}x${size}/apps)
  endforeach()
  # Debian keeps a package's licence as share/doc/<package>/copyright.
  install(FILES LICENSE RENAME copyright DESTINATION ${CMAKE_INSTALL_DATADIR}/doc/arrowbench)

  set(CPACK_GENERATOR DEB)
  set(CPACK_STRIP_FILES ON)
  set(CPACK_DEBIAN_FILE_NAME DEB-DEFAULT)
  set(CPACK_DEBIAN_PACKAGE_SHLIBDEPS ON)
  set(CPACK_DEBIAN_PACKAGE_SECTION math)
  set(CPACK_DEBIAN_PACKAGE_PRIORITY optional)
  set(CPACK_POST_BUILD_SCRIPTS ${PROJECT_SOURCE_DIR}/cmake/deb_post_build.cmake)
  # The first line of the description is CPACK_PACKAGE_DESCRIPTION_SUMMARY.
  set(CPACK_DEBIAN_PACKAGE_DESCRIPTION [[Arrowbench is a small calculator for three-component vectors: add,
subtract, cross and dot products, scaling, normalising and length, on
vectors typed as text. Beside it, an OpenGL view draws up to three vectors
over the axes and a checkerboard ground, and orbits and zooms with the mouse.]])
endif()

include(CPack)
