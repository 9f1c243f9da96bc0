# Measurement probes, built with the tests and never shipped: play_probe plays clips through the
# system's real sound output so that scripts can record them back and measure them.
if(WIN32)
  add_executable(play_probe ${CMAKE_SOURCE_DIR}/tests/probes/play_probe_win32.cpp)
  target_link_libraries(play_probe PRIVATE tintal_win32 tintal_portable tintal_clips)
else()
  add_executable(play_probe ${CMAKE_SOURCE_DIR}/tests/probes/play_probe_posix.cpp)
  target_link_libraries(play_probe PRIVATE tintal_posix tintal_portable)
endif()
target_include_directories(play_probe PRIVATE ${CMAKE_SOURCE_DIR}/tests)
