# Writes THIRD-PARTY-NOTICES.txt for the Windows zip: the exe links GCC's
# runtime (libgcc, libstdc++) and the MinGW-w64 runtime (its CRT with gdtoa,
# and winpthreads) statically, and their licences want their notices in
# binary copies. The notices are the Debian copyright files of the packages
# that hold the libraries this toolchain links, so they follow the toolchain.
# Usage: cmake -DOUT=FILE -DLIBS=path;path... -P third_party_notices.cmake
cmake_minimum_required(VERSION 3.25)
if(NOT OUT OR NOT LIBS)
  message(FATAL_ERROR "usage: cmake -DOUT=FILE -DLIBS=path;path... -P third_party_notices.cmake")
endif()

set(packages "")
foreach(lib IN LISTS LIBS)
  file(REAL_PATH "${lib}" path)
  if(NOT EXISTS "${path}")
    message(FATAL_ERROR "the toolchain has no ${lib}")
  endif()
  execute_process(COMMAND dpkg-query -S "${path}" OUTPUT_VARIABLE owner RESULT_VARIABLE rc ERROR_QUIET)
  # "package[:arch]: path"; diversions are reported on lines of their own.
  if(NOT rc EQUAL 0 OR NOT owner MATCHES "(^|\n)([a-z0-9][a-z0-9.+-]*)(:[a-z0-9]+)?: ")
    message(FATAL_ERROR "no Debian package owns ${path}; its licence cannot be found")
  endif()
  set(pkg ${CMAKE_MATCH_2})
  get_filename_component(name "${path}" NAME)
  list(APPEND packages ${pkg})
  list(APPEND files_of_${pkg} ${name})
endforeach()
list(REMOVE_DUPLICATES packages)
list(SORT packages)

set(text [[Third-party notices for arrowbench.exe
=======================================

arrowbench.exe is linked statically with runtime libraries of the compiler
that built it: GCC's libgcc and libstdc++ (GPL 3 with the GCC Runtime
Library Exception) and the MinGW-w64 runtime, with its C runtime start-up
code, gdtoa (number conversion) and winpthreads (threads), under the
licences below. They are the copyright files of the Debian packages the
build took these libraries from.
]])
set(seen "")
foreach(pkg IN LISTS packages)
  # Packages from one source share one doc folder (a symbolic link).
  file(REAL_PATH "/usr/share/doc/${pkg}/copyright" copyright)
  if(NOT EXISTS "${copyright}")
    message(FATAL_ERROR "${pkg} has no ${copyright}")
  endif()
  if(copyright IN_LIST seen)
    continue()
  endif()
  list(APPEND seen "${copyright}")
  set(names "")
  foreach(other IN LISTS packages)
    file(REAL_PATH "/usr/share/doc/${other}/copyright" other_copyright)
    if(other_copyright STREQUAL copyright)
      execute_process(COMMAND dpkg-query -W -f=\${Version} ${other} OUTPUT_VARIABLE version ERROR_QUIET)
      list(JOIN files_of_${other} ", " files)
      string(APPEND names "Package: ${other} ${version} (${files})\n")
    endif()
  endforeach()
  file(READ "${copyright}" body)
  string(APPEND text "\n\n--------------------------------------------------------------------------\n"
                     "${names}"
                     "--------------------------------------------------------------------------\n\n"
                     "${body}")
endforeach()
# For Notepad on older Windows.
string(REPLACE "\r\n" "\n" text "${text}")
string(REPLACE "\n" "\r\n" text "${text}")
file(WRITE "${OUT}" "${text}")
