# Fuzz targets. The normal build makes a replay program per target and a test that replays
# its committed corpus; a separate clang tree configured with -DTESSALY_FUZZ=ON makes the
# libFuzzer programs instead, every library instrumented for coverage and the sanitizers.
option(TESSALY_FUZZ "Build the libFuzzer programs (clang only) instead of the corpus replays" OFF)
if(TESSALY_FUZZ)
  if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
    message(FATAL_ERROR "TESSALY_FUZZ needs clang: configure with -DCMAKE_CXX_COMPILER=clang++")
  endif()
  add_compile_options(-fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined)
  add_link_options(-fsanitize=address,undefined)
endif()

# tessaly_fuzz_target(<name> LINKS <libraries>): fuzz/<name>_fuzz.cpp defines
# LLVMFuzzerTestOneInput; fuzz/corpus/<name>/ holds its corpus.
function(tessaly_fuzz_target name)
  cmake_parse_arguments(ARG "" "" "LINKS" ${ARGN})
  set(corpus ${CMAKE_CURRENT_SOURCE_DIR}/corpus/${name})
  if(TESSALY_FUZZ)
    set(program ${name}_fuzz)
    add_executable(${program} ${name}_fuzz.cpp)
    target_link_options(${program} PRIVATE -fsanitize=fuzzer)
    # -runs=0 executes every corpus file once and stops.
    add_test(NAME fuzz_${name} COMMAND ${program} -runs=0 ${corpus})
  else()
    set(program ${name}_replay)
    add_executable(${program} ${name}_fuzz.cpp)
    target_link_libraries(${program} PRIVATE fuzzreplay)
    add_test(NAME fuzz_${name} COMMAND ${program} ${corpus})
  endif()
  set_target_properties(${program} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/fuzz)
  target_include_directories(${program} PRIVATE ${CMAKE_SOURCE_DIR})
  target_compile_options(${program} PRIVATE -Wall -Wextra)
  target_link_libraries(${program} PRIVATE ${ARG_LINKS})
  set_tests_properties(fuzz_${name} PROPERTIES TIMEOUT 120)
  add_dependencies(fuzz ${program})
endfunction()
