# Timed harnesses that print figures; built with the native programs, never run by ctest (`make bench`).
if(NOT WIN32)
  add_executable(tintal_benchmarks ${CMAKE_SOURCE_DIR}/benchmarks/station_decoding_bench.cpp
                                   ${CMAKE_SOURCE_DIR}/tests/fakes/station_files.cpp)
  target_include_directories(tintal_benchmarks PRIVATE ${CMAKE_SOURCE_DIR}/tests)
  target_link_libraries(tintal_benchmarks PRIVATE tintal_portable)
endif()

# The clock's tick against the wall-clock second, on each system's event loop.
if(WIN32)
  add_executable(tintal_tick_bench ${CMAKE_SOURCE_DIR}/benchmarks/tick_lateness_bench_win32.cpp)
  target_link_libraries(tintal_tick_bench PRIVATE tintal_win32 tintal_portable)
else()
  add_executable(tintal_tick_bench ${CMAKE_SOURCE_DIR}/benchmarks/tick_lateness_bench.cpp)
  target_link_libraries(tintal_tick_bench PRIVATE tintal_posix tintal_portable)
endif()
