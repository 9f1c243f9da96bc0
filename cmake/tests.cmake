# Unit tests (portable code with fakes and virtual time), on every build.
file(GLOB TINTAL_FAKE_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/fakes/*.cpp)
add_library(tintal_fakes STATIC ${TINTAL_FAKE_SOURCES})
target_include_directories(tintal_fakes PUBLIC ${CMAKE_SOURCE_DIR}/tests)
target_link_libraries(tintal_fakes PUBLIC tintal_core)
include(cmake/probes.cmake)
include(cmake/test_data.cmake)

if(WIN32)
  include(cmake/tests_win32.cmake)
  return()
endif()

find_package(GTest REQUIRED)
include(GoogleTest)

file(GLOB TINTAL_UNIT_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/unit/*.cpp)
add_executable(tintal_unit_tests ${TINTAL_UNIT_TESTS})
target_link_libraries(tintal_unit_tests PRIVATE tintal_fakes tintal_clips GTest::gtest_main)
target_compile_definitions(tintal_unit_tests PRIVATE TINTAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
gtest_discover_tests(tintal_unit_tests DISCOVERY_TIMEOUT 60)

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
