# Windows tests: the Windows adapters for real and the portable unit tests, each test program one ctest
# entry. Cross-built, ctest runs them under Wine through CMAKE_CROSSCOMPILING_EMULATOR.

# A Wine start is slow: one generous limit per program rather than one entry per test case.
set(TINTAL_WINE_TEST_TIMEOUT 600)

file(GLOB TINTAL_WIN32_TESTS CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/tests/win32/*.cpp)
if(TINTAL_WIN32_TESTS)
  add_executable(tintal_win32_tests ${TINTAL_WIN32_TESTS})
  # ws2_32: the local HTTP server of the download tests.
  target_link_libraries(tintal_win32_tests PRIVATE tintal_win32_ui tintal_fakes GTest::gtest_main ws2_32)
  target_compile_definitions(tintal_win32_tests PRIVATE TINTAL_SOURCE_DIR="${CMAKE_SOURCE_DIR}")
  add_test(NAME tintal_win32_tests COMMAND tintal_win32_tests --gtest_color=no)
  set_tests_properties(tintal_win32_tests PROPERTIES TIMEOUT ${TINTAL_WINE_TEST_TIMEOUT})
endif()

add_test(NAME tintal_unit_tests COMMAND tintal_unit_tests --gtest_color=no)
set_tests_properties(tintal_unit_tests PROPERTIES TIMEOUT ${TINTAL_WINE_TEST_TIMEOUT})

# Real sound: a clip played through waveOut is recorded back from the sound server's null sink.
add_test(NAME waveout_plays_clip
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/audio/waveout_plays_clip.sh ${CMAKE_BINARY_DIR}
                 $<TARGET_FILE:play_probe> ${CMAKE_SOURCE_DIR} SON_HEURES_T)
set_tests_properties(waveout_plays_clip PROPERTIES TIMEOUT 120)
add_test(NAME waveout_plays_long_file
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/audio/waveout_plays_clip.sh ${CMAKE_BINARY_DIR}
                 $<TARGET_FILE:play_probe> ${CMAKE_SOURCE_DIR} long)
set_tests_properties(waveout_plays_long_file PROPERTIES TIMEOUT 120)

# The whole program under Wine: started with a settings file, closed as a user closes it.
add_test(NAME windows_program_smoke
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/smoke/windows_program.sh ${CMAKE_BINARY_DIR} $<TARGET_FILE:tintal>)
set_tests_properties(windows_program_smoke PROPERTIES TIMEOUT 120)

# The program file as the shell reads it: icon sizes, version block, manifest.
add_test(NAME windows_resources
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/scripts/resources_check.sh $<TARGET_FILE:tintal> ${CMAKE_SOURCE_DIR})

# The release zip, unpacked into a fresh prefix; skipped (77) without the i686 build beside this one.
add_test(NAME windows_release_zip
         COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/scripts/release_zip.sh ${CMAKE_BINARY_DIR} ${CMAKE_SOURCE_DIR})
set_tests_properties(windows_release_zip PROPERTIES TIMEOUT 300 SKIP_RETURN_CODE 77)

# Every window laid out at 96 and 144 DPI: nothing clipped, past its window or overlapping, every hint
# attached. The check carries the program's resources (manifest: visual styles, DPI awareness).
add_executable(tintal_layout_check ${CMAKE_SOURCE_DIR}/tests/win32_layout/layout_check.cpp ${CMAKE_SOURCE_DIR}/resources/tintal.rc)
target_link_libraries(tintal_layout_check PRIVATE tintal_win32_ui tintal_fakes)
foreach(dpi 96 144)
  add_test(NAME windows_layout_${dpi}
           COMMAND bash ${CMAKE_SOURCE_DIR}/tests/win32/scripts/layout_check.sh ${CMAKE_BINARY_DIR}
                   $<TARGET_FILE:tintal_layout_check> ${dpi})
  set_tests_properties(windows_layout_${dpi} PROPERTIES TIMEOUT 180)
endforeach()
