# The icon pictures, drawn once a tree by res/make_icon.py into icons/:
# the PNGs at ICON_SIZES, which the package, the page and the Linux
# window take, and a .ico that the packaging test compares with the
# checked-in res/main_icon.ico. The script writes the .ico next to itself,
# so it runs from a copy and leaves the source tree alone.
find_package(Python3 REQUIRED COMPONENTS Interpreter)
set(ICON_DIR ${PROJECT_BINARY_DIR}/icons)
set(ICON_SIZES 16 32 48 256)
set(ICON_PNGS "")
foreach(size IN LISTS ICON_SIZES)
  list(APPEND ICON_PNGS ${ICON_DIR}/arrowbench-${size}.png)
endforeach()
add_custom_command(OUTPUT ${ICON_PNGS} ${ICON_DIR}/main_icon.ico
  COMMAND ${CMAKE_COMMAND} -E copy ${PROJECT_SOURCE_DIR}/res/make_icon.py ${ICON_DIR}/make_icon.py
  COMMAND ${Python3_EXECUTABLE} ${ICON_DIR}/make_icon.py --png ${ICON_DIR} > /dev/null
  DEPENDS ${PROJECT_SOURCE_DIR}/res/make_icon.py
  COMMENT "Icons from res/make_icon.py")
add_custom_target(icons ALL DEPENDS ${ICON_PNGS} ${ICON_DIR}/main_icon.ico)
