cmake_minimum_required(VERSION 3.25)
# Checks the shipped exe: a PE image of FORMAT (pei-i386 for the shipped
# build), Windows GUI subsystem, statically linked (it may import system
# DLLs only, never libstdc++, libgcc or winpthread), and carries its
# application manifest.
if(NOT FORMAT)
  set(FORMAT pei-i386)
endif()
execute_process(COMMAND ${OBJDUMP} -p ${EXE} OUTPUT_VARIABLE dump RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "objdump failed on ${EXE}")
endif()
if(NOT dump MATCHES "file format ${FORMAT}\n")
  message(FATAL_ERROR "not a ${FORMAT} image")
endif()
if(NOT dump MATCHES "Subsystem[\t ]+00000002")
  message(FATAL_ERROR "not the Windows GUI subsystem")
endif()
string(REGEX MATCHALL "DLL Name: [^\n]+" imports "${dump}")
set(system_dlls kernel32.dll user32.dll gdi32.dll comctl32.dll msvcrt.dll opengl32.dll glu32.dll advapi32.dll)
list(LENGTH imports count)
if(count EQUAL 0)
  message(FATAL_ERROR "no imports found: objdump output not understood")
endif()
foreach(entry IN LISTS imports)
  string(REGEX REPLACE "DLL Name: *" "" dll "${entry}")
  string(STRIP "${dll}" dll)
  string(TOLOWER "${dll}" dll)
  if(NOT dll IN_LIST system_dlls)
    message(FATAL_ERROR "imports ${dll}, which is not a system DLL")
  endif()
  message(STATUS "imports ${dll}")
endforeach()

# The application manifest: resource 1 of type 24 (RT_MANIFEST), the very
# text of res/arrowbench.manifest, with what Windows reads from it.
execute_process(COMMAND ${WINDRES} -i ${EXE} -O rc OUTPUT_VARIABLE rc_text RESULT_VARIABLE rc)
if(NOT rc EQUAL 0)
  message(FATAL_ERROR "windres could not read the resources of ${EXE}")
endif()
# windres writes the text as string lines, "...\n", with "" for ".
string(REGEX MATCH "\n1 24 /\\* RT_MANIFEST \\*/\nBEGIN\n( +\"[^\n]*\n)*END\n" block "${rc_text}")
if(NOT block)
  message(FATAL_ERROR "no manifest resource (RT_MANIFEST, id 1)")
endif()
string(REGEX MATCHALL "\n +\"[^\n]*\"" lines "${block}")
set(manifest "")
foreach(line IN LISTS lines)
  string(REGEX REPLACE "^\n +\"(.*)\"$" "\\1" line "${line}")
  string(REPLACE "\\n" "\n" line "${line}")
  string(REPLACE "\"\"" "\"" line "${line}")
  string(APPEND manifest "${line}")
endforeach()
file(READ ${MANIFEST} source)
if(NOT manifest STREQUAL source)
  message(FATAL_ERROR "the exe's manifest is not res/arrowbench.manifest:\n${manifest}")
endif()
foreach(needed
    "<requestedExecutionLevel level=\"asInvoker\""
    "<supportedOS Id=\"{35138b9a-5d96-4fbd-8e2d-a2440225f93a}\"/>"
    "<supportedOS Id=\"{4a2f28e3-53b9-4441-ba9c-d69d4a4a6e38}\"/>"
    "<supportedOS Id=\"{1f676c76-80e1-4239-95bb-83d0f6d0da78}\"/>"
    "<supportedOS Id=\"{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}\"/>"
    "name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""
    "processorArchitecture=\"*\" publicKeyToken=\"6595b64144ccf1df\""
    "<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"
    "<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>")
  string(FIND "${manifest}" "${needed}" at)
  if(at EQUAL -1)
    message(FATAL_ERROR "the manifest lacks ${needed}")
  endif()
endforeach()
message(STATUS "manifest: asInvoker, Windows 7 to 11, Common Controls 6, per-monitor v2 DPI awareness")
