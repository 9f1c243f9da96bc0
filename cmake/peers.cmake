# Test peers: programs that play the other side of a channel, built with the tests and never shipped.

# The companion program: the same source on both systems, over the system's own channel adapter.
add_executable(companion_peer ${CMAKE_SOURCE_DIR}/tests/peers/companion_peer.cpp)
if(WIN32)
  target_link_libraries(companion_peer PRIVATE tintal_win32 tintal_portable)
  # The recorder program: a window of its class and title that answers the commands.
  add_executable(recorder_peer ${CMAKE_SOURCE_DIR}/tests/peers/recorder_peer.cpp)
  target_link_libraries(recorder_peer PRIVATE user32)
  # The Windows tests start them from beside their own exe.
  if(TARGET tintal_win32_tests)
    add_dependencies(tintal_win32_tests companion_peer recorder_peer)
  endif()
else()
  target_link_libraries(companion_peer PRIVATE tintal_posix tintal_portable)
  # shm_open lives in librt before glibc 2.34.
  include(CheckSymbolExists)
  check_symbol_exists(shm_open "sys/mman.h" TINTAL_SHM_OPEN_IN_LIBC)
  if(NOT TINTAL_SHM_OPEN_IN_LIBC)
    target_link_libraries(companion_peer PRIVATE rt)
  endif()
  if(TARGET tintal_integration_tests)
    add_dependencies(tintal_integration_tests companion_peer)
    target_compile_definitions(tintal_integration_tests PRIVATE TINTAL_COMPANION_PEER="$<TARGET_FILE:companion_peer>")
    if(NOT TINTAL_SHM_OPEN_IN_LIBC)
      target_link_libraries(tintal_integration_tests PRIVATE rt)
    endif()
  endif()
endif()

# A companion written from the published protocol alone: raw system calls, none of the project's code.
add_executable(companion_protocol_peer ${CMAKE_SOURCE_DIR}/tests/peers/companion_protocol_peer.c)
set_target_properties(companion_protocol_peer PROPERTIES C_STANDARD 11)
if(WIN32)
  # Presses the listen button of a running clock, for scenarios with a self-started announcement.
  add_executable(press_listen_button ${CMAKE_SOURCE_DIR}/tests/peers/press_listen_button.c)
  target_link_libraries(press_listen_button PRIVATE user32)
  if(TARGET tintal_win32_tests)
    add_dependencies(tintal_win32_tests companion_protocol_peer)
    target_compile_definitions(tintal_win32_tests PRIVATE TINTAL_PROTOCOL_PEER="companion_protocol_peer.exe")
  endif()
else()
  target_link_libraries(companion_protocol_peer PRIVATE Threads::Threads)
  if(NOT TINTAL_SHM_OPEN_IN_LIBC)
    target_link_libraries(companion_protocol_peer PRIVATE rt)
  endif()
  if(TARGET tintal_integration_tests)
    add_dependencies(tintal_integration_tests companion_protocol_peer)
    target_compile_definitions(tintal_integration_tests
                               PRIVATE TINTAL_PROTOCOL_PEER="$<TARGET_FILE:companion_protocol_peer>")
  endif()
endif()

# Stand-ins for the station vendor's library, loaded by the Windows station-library tests.
if(WIN32)
  foreach(stub weatherlink_stub weatherlink_partial)
    add_library(${stub} SHARED ${CMAKE_SOURCE_DIR}/tests/peers/weatherlink_stub.cpp)
    set_target_properties(${stub} PROPERTIES PREFIX "")
    # Undecorated stdcall names, as the vendor exports them.
    target_link_options(${stub} PRIVATE -Wl,--kill-at)
    if(TARGET tintal_win32_tests)
      add_dependencies(tintal_win32_tests ${stub})
    endif()
  endforeach()
  target_compile_definitions(weatherlink_partial PRIVATE TINTAL_STUB_PARTIAL)
endif()

# The real clock program with the companion written from the protocol, in two processes. Each
# scenario runs TINTAL_COMPANION_REPEATS times in a row: a few in every test run, to keep it short;
# `make test-companion` runs them twenty times.
set(TINTAL_COMPANION_REPEATS 3 CACHE STRING "Runs of each companion scenario in a row")
if(WIN32)
  add_test(NAME companion_scenarios
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/peers/companion_scenarios.sh wine ${CMAKE_BINARY_DIR}
                   $<TARGET_FILE:tintal> $<TARGET_FILE:companion_protocol_peer> $<TARGET_FILE:press_listen_button>
                   ${TINTAL_COMPANION_REPEATS})
  set_tests_properties(companion_scenarios PROPERTIES TIMEOUT 1500)
elseif(TARGET tintal)
  add_test(NAME companion_scenarios
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/peers/companion_scenarios.sh linux ${CMAKE_BINARY_DIR}
                   $<TARGET_FILE:tintal> $<TARGET_FILE:companion_protocol_peer> - ${TINTAL_COMPANION_REPEATS})
  set_tests_properties(companion_scenarios PROPERTIES TIMEOUT 900)
endif()
