# libFuzzer targets for the readers, the writers and the commands. They
# need a compiler that links -fsanitize=fuzzer (clang); with any other the
# tree simply has none. CI runs each for a fixed number of inputs from its
# seed corpus with a fixed seed; tests/fuzz/long_run.sh runs them for long.
include(CheckCXXSourceCompiles)
set(CMAKE_REQUIRED_FLAGS -fsanitize=fuzzer)
set(CMAKE_REQUIRED_LINK_OPTIONS -fsanitize=fuzzer)
check_cxx_source_compiles([[
#include <cstddef>
#include <cstdint>
extern "C" int LLVMFuzzerTestOneInput(const uint8_t*, size_t) { return 0; }
]] HAVE_LIBFUZZER)
unset(CMAKE_REQUIRED_FLAGS)
unset(CMAKE_REQUIRED_LINK_OPTIONS)
if(NOT HAVE_LIBFUZZER)
  message(STATUS "No libFuzzer with this compiler: fuzz targets left out")
  return()
endif()

option(ARROWBENCH_FUZZ_COVERAGE "Source-based coverage in the core and the fuzz targets" OFF)
set(FUZZ_COVERAGE_FLAGS -fprofile-instr-generate -fcoverage-mapping)

# The core gets libFuzzer's coverage feedback; its other users link it
# without libFuzzer all the same.
foreach(core vectext view_core app_core)
  target_compile_options(${core} PRIVATE -fsanitize=fuzzer-no-link)
  if(ARROWBENCH_FUZZ_COVERAGE)
    target_compile_options(${core} PRIVATE ${FUZZ_COVERAGE_FLAGS})
  endif()
endforeach()

set(FUZZ_DIR ${CMAKE_CURRENT_LIST_DIR})
set(FUZZ_RUNS 20000)

# A run starts from the checked-in seeds alone: what it finds goes to an
# emptied work directory, never into the source tree.
function(arrowbench_fuzzer name max_len)
  # A slower target may run fewer inputs: the third argument.
  set(runs ${FUZZ_RUNS})
  if(ARGC GREATER 2)
    set(runs ${ARGV2})
  endif()
  add_executable(${name} ${FUZZ_DIR}/${name}.cpp)
  target_compile_options(${name} PRIVATE -fsanitize=fuzzer)
  target_link_options(${name} PRIVATE -fsanitize=fuzzer)
  if(ARROWBENCH_FUZZ_COVERAGE)
    target_compile_options(${name} PRIVATE ${FUZZ_COVERAGE_FLAGS})
    target_link_options(${name} PRIVATE ${FUZZ_COVERAGE_FLAGS})
  endif()
  target_link_libraries(${name} PRIVATE app_core fixed_client_size)
  set(work ${CMAKE_CURRENT_BINARY_DIR}/fuzz-work/${name})
  add_test(NAME ${name}
    COMMAND sh -c "rm -rf \"$1\" && mkdir -p \"$1\" && exec \"$0\" -runs=${runs} -seed=1 -max_len=${max_len} -len_control=0 \"$1\" \"$2\""
            $<TARGET_FILE:${name}> ${work} ${FUZZ_DIR}/corpus/${name})
  set_tests_properties(${name} PROPERTIES TIMEOUT 300)
endfunction()

arrowbench_fuzzer(fuzz_vector 1024)
arrowbench_fuzzer(fuzz_scalar 1024)
arrowbench_fuzzer(fuzz_color 512)
arrowbench_fuzzer(fuzz_commands 4096)
arrowbench_fuzzer(fuzz_scene 8192)
arrowbench_fuzzer(fuzz_steps 256 4000)

# Writes the seed corpora from the conversion tables; run by hand:
#   rm -r tests/fuzz/corpus && build/asan/tests/fuzz_seeds tests/fuzz/corpus
add_executable(fuzz_seeds EXCLUDE_FROM_ALL ${FUZZ_DIR}/make_seeds.cpp)
target_link_libraries(fuzz_seeds PRIVATE vectext control_ids)
