# Debian's hardening flags for the Linux tree's Release build (what
# dpkg-buildflags gives with DEB_BUILD_MAINT_OPTIONS=hardening=+all): stack
# protector and stack clash protection, FORTIFY_SOURCE, control-flow
# protection, format checks, PIE, full RELRO and immediate binding. Like a
# distribution's build they apply to everything built, so the tests run
# the same objects that ship. The sanitizer build and the other hosts are
# left as they are.
if(NOT ARROWBENCH_HOST STREQUAL fltk OR ARROWBENCH_SANITIZE)
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
add_compile_options(
  "$<${release}:-fstack-protector-strong>"
  "$<$<AND:${release},$<BOOL:${ARROWBENCH_HAS_STACK_CLASH}>>:-fstack-clash-protection>"
  "$<$<AND:${release},$<BOOL:${ARROWBENCH_HAS_CF_PROTECTION}>>:-fcf-protection>"
  "$<${release}:-Wformat;-Werror=format-security>"
  # -U first: some compilers define it already, and a redefinition is an error under -Werror.
  "$<${release}:-U_FORTIFY_SOURCE;-D_FORTIFY_SOURCE=2>")
add_link_options("$<${release}:LINKER:-z,relro;LINKER:-z,now>")
