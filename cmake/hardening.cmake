# Debian's hardening flags for the Linux program (what dpkg-buildflags gives
# with DEB_BUILD_MAINT_OPTIONS=hardening=+all), in its Release build only:
# stack protector and stack clash protection, FORTIFY_SOURCE, control-flow
# protection, format checks, PIE, full RELRO and immediate binding.
# `arrowbench_hardening` carries them; the program links it, and the static
# libraries that make up the program get the compile options too, since
# most of its code lives there (the tests link those same objects). The
# other programs' own sources, the sanitizer build and the float flags of
# cmake/flags.cmake are left as they are.
add_library(arrowbench_hardening INTERFACE)
if(WIN32 OR ARROWBENCH_CORE_ONLY OR ARROWBENCH_SANITIZE)
  return()
endif()

# A PIE can only hold position-independent objects, those of the static
# libraries included; with policy CMP0083 this also links with -pie.
include(CheckPIESupported)
check_pie_supported(LANGUAGES C CXX)
set(CMAKE_POSITION_INDEPENDENT_CODE ON)

# Both are x86 or newer-compiler options; elsewhere they are left out.
include(CheckCXXCompilerFlag)
check_cxx_compiler_flag(-fstack-clash-protection ARROWBENCH_HAS_STACK_CLASH)
check_cxx_compiler_flag(-fcf-protection ARROWBENCH_HAS_CF_PROTECTION)

set(release "$<CONFIG:Release>")
target_compile_options(arrowbench_hardening INTERFACE
  "$<${release}:-fstack-protector-strong>"
  "$<$<AND:${release},$<BOOL:${ARROWBENCH_HAS_STACK_CLASH}>>:-fstack-clash-protection>"
  "$<$<AND:${release},$<BOOL:${ARROWBENCH_HAS_CF_PROTECTION}>>:-fcf-protection>"
  "$<${release}:-Wformat;-Werror=format-security>"
  # -U first: some compilers define it already, and a redefinition is an error under -Werror.
  "$<${release}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
target_link_options(arrowbench_hardening INTERFACE "$<${release}:LINKER:-z,relro;LINKER:-z,now>")

# At the end of the top directory, when every target exists: the static
# libraries the program links, followed through their own links.
function(arrowbench_harden_program_libraries)
  if(NOT TARGET arrowbench)
    return()
  endif()
  get_target_property(todo arrowbench LINK_LIBRARIES)
  set(done "")
  while(todo)
    list(POP_FRONT todo lib)
    if(NOT TARGET "${lib}" OR lib IN_LIST done)
      continue()
    endif()
    list(APPEND done "${lib}")
    get_target_property(type "${lib}" TYPE)
    get_target_property(imported "${lib}" IMPORTED)
    if(NOT type STREQUAL "STATIC_LIBRARY" OR imported)
      continue()
    endif()
    target_compile_options("${lib}" PRIVATE
      "$<TARGET_PROPERTY:arrowbench_hardening,INTERFACE_COMPILE_OPTIONS>")
    get_target_property(more "${lib}" LINK_LIBRARIES)
    if(more)
      list(APPEND todo ${more})
    endif()
  endwhile()
endfunction()
cmake_language(DEFER CALL arrowbench_harden_program_libraries)
