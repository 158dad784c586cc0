# Float results must be the same bytes on every host: SSE2 arithmetic on
# x86 (no x87 excess precision, which the i686 build would use otherwise)
# and no contraction of a*b+c into FMA. The core links arrowbench_float
# PUBLIC, so the flags travel with it to everything built against it.
add_library(arrowbench_float INTERFACE)
target_compile_options(arrowbench_float INTERFACE -ffp-contract=off)
# Emscripten calls itself x86 for old build scripts' sake, but WebAssembly
# has no x87 and no excess precision: no SSE flags there.
if(NOT EMSCRIPTEN AND CMAKE_SYSTEM_PROCESSOR MATCHES "^(i.86|x86|x86_64|AMD64)$")
  target_compile_options(arrowbench_float INTERFACE -msse2 -mfpmath=sse)
endif()

# Warnings for everything; the presets make them errors
# (CMAKE_COMPILE_WARNING_AS_ERROR).
add_compile_options(-Wall -Wextra)

# A first visit fetches the core as wasm: built for size, across the whole
# program. Nothing catches an exception or asks a type at run time, and
# Emscripten catches none by default: neither is built in.
if(EMSCRIPTEN)
  add_compile_options(-Oz -flto -fno-exceptions -fno-rtti)
  add_link_options(-flto)
endif()

# The working's notation and the session's memory (the worksheet, Undo)
# run once a command, never in a frame: built for size on the desktop
# hosts too, and their unused functions left out of the programs.
set(ARROWBENCH_COLD_CODE $<$<NOT:$<BOOL:${EMSCRIPTEN}>>:-Os -ffunction-sections -fdata-sections>)
if(CMAKE_SYSTEM_NAME STREQUAL Linux)
  add_link_options(-Wl,--gc-sections)
endif()
