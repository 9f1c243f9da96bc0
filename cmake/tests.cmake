# Unit tests (portable code with fakes and virtual time), on every build.
file(GLOB TINTAL_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
add_library(tintal_fakes STATIC ${TINTAL_FAKE_SOURCES})
target_include_directories(tintal_fakes PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tintal_fakes PUBLIC tintal_portable)
include(cmake/probes.cmake)
include(cmake/test_data.cmake)

if(WIN32 AND EXISTS /usr/src/googletest/CMakeLists.txt)
  # Cross build: GoogleTest built from Debian's sources with our compiler, its warnings not ours to fail on.
  set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
  set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
  set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
  set(CMAKE_COMPILE_WARNING_AS_ERROR OFF)
  add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
  set(CMAKE_COMPILE_WARNING_AS_ERROR ${TINTAL_WERROR})
else()
  find_package(GTest REQUIRED)  # Linux, or a native Windows build (MSYS2 or vcpkg)
endif()

file(GLOB TINTAL_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(tintal_unit_tests ${TINTAL_UNIT_TESTS})
target_link_libraries(tintal_unit_tests PRIVATE tintal_fakes tintal_clips GTest::gtest_main)
target_compile_definitions(tintal_unit_tests PRIVATE TINTAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")

if(WIN32)
  include(cmake/tests_win32.cmake)
  return()
endif()

include(GoogleTest)
gtest_discover_tests(tintal_unit_tests DISCOVERY_TIMEOUT 60)

# The layer check of every build, on small trees of its own: each fault found, a sound tree passed.
set(TINTAL_LAYER_CASES
    "upward_include|src/core/clock.cpp:3: includes shell/tintal_log.h: a higher layer \\(shell above core\\)"
    "header_only|src/platform/ports.h:4: includes widgets/label.h: a higher layer \\(widgets above platform\\)"
    "other_system|src/ui/win32/view.cpp:2: includes platform/posix/alsa_audio_device.h: code of the other system"
    "unseen_layer|src/platform/posix/store.cpp:3: includes core/clip_catalogue.h: layer core, which adapters may not"
    "os_header|lines.cpp:2: includes Windows.h: an operating-system header in the portable layer radio\n.*fetch.cpp:2: includes sys/socket.h"
    "unknown_folder|src/core/extra/thing.cpp: folder core/extra belongs to no layer")
foreach(case ${TINTAL_LAYER_CASES})
  string(REPLACE "|" ";" case "${case}")
  list(GET case 0 name)
  list(GET case 1 expected)
  add_test(NAME layer_check.${name}
           COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/tests/layers/${name}
                   -P ${CMAKE_SOURCE_DIR}/cmake/layer_check.cmake)
  # The fault's line, then the failure that stops the build.
  set_tests_properties(layer_check.${name} PROPERTIES PASS_REGULAR_EXPRESSION "${expected}.*fault\\(s\\) against the layers")
endforeach()
add_test(NAME layer_check.sound_tree
         COMMAND ${CMAKE_COMMAND} -DSOURCE_DIR=${CMAKE_SOURCE_DIR}/tests/layers/sound_tree
                 -P ${CMAKE_SOURCE_DIR}/cmake/layer_check.cmake)

file(GLOB TINTAL_INTEGRATION_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/integration/*.cpp)
if(TINTAL_INTEGRATION_TESTS)
  add_executable(tintal_integration_tests ${TINTAL_INTEGRATION_TESTS})
  target_link_libraries(tintal_integration_tests PRIVATE tintal_posix tintal_fakes GTest::gtest_main)
  target_compile_definitions(tintal_integration_tests PRIVATE TINTAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}"
                                                                TINTAL_BINARY="$<TARGET_FILE:tintal>")
  gtest_discover_tests(tintal_integration_tests DISCOVERY_TIMEOUT 60)
endif()

# The systemd unit of examples/, checked by systemd itself where it is installed.
add_test(NAME systemd_unit
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/service/verify_unit.sh ${CMAKE_SOURCE_DIR}/examples/tintal.service
                 $<TARGET_FILE:tintal>)
set_tests_properties(systemd_unit PROPERTIES SKIP_RETURN_CODE 77 TIMEOUT 60)

# The clip tools and the committed clips (levels, edges, layout); synthesis checks skip without espeak-ng.
find_package(Python3 COMPONENTS Interpreter)
if(Python3_Interpreter_FOUND)
  add_test(NAME clip_tools COMMAND ${Python3_EXECUTABLE} -m unittest discover -s ${CMAKE_SOURCE_DIR}/tools/clips)
endif()
