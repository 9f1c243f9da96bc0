# libFuzzer targets: one executable per tests/fuzz/<name>_fuzz.cpp, each a ctest entry that runs for a
# bounded time on a working copy of its seed corpus (tests/fuzz/corpus/<name>/, when there is one).
# Built only by the clang "fuzz" preset, where every object carries the fuzzer's coverage hooks.
set(TINTAL_FUZZ_SECONDS 10 CACHE STRING "How long each fuzz target runs under ctest")

file(GLOB TINTAL_FUZZ_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fuzz/*_fuzz.cpp)
add_custom_target(fuzzers)
foreach(source ${TINTAL_FUZZ_SOURCES})
  get_filename_component(target ${source} NAME_WE)
  string(REGEX REPLACE "_fuzz$" "" name ${target})
  add_executable(${target} ${source})
  target_link_libraries(${target} PRIVATE tintal_portable)
  target_link_options(${target} PRIVATE -fsanitize=fuzzer)
  add_dependencies(fuzzers ${target})

  set(work ${CMAKE_BINARY_DIR}/corpus/${name})
  set(seeds ${CMAKE_SOURCE_DIR}/tests/fuzz/corpus/${name})
  set(dirs ${work})
  if(EXISTS ${seeds})
    list(APPEND dirs ${seeds})
  endif()
  # New inputs go to the first folder, the working one; the seeds in the tree are only read.
  file(MAKE_DIRECTORY ${work})
  add_test(NAME fuzz.${name}
           COMMAND $<TARGET_FILE:${target}> -max_total_time=${TINTAL_FUZZ_SECONDS} -timeout=5 -rss_limit_mb=2048
                   -print_final_stats=1 ${dirs})
  set_tests_properties(fuzz.${name} PROPERTIES TIMEOUT 300)
endforeach()
