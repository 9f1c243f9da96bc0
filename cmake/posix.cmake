# Linux adapters and the Linux clock program.
file(GLOB TINTAL_POSIX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/posix/*.cpp)
add_library(tintal_posix STATIC ${TINTAL_POSIX_SOURCES})
target_link_libraries(tintal_posix PUBLIC tintal_platform tintal_clips PRIVATE tintal_base)
find_package(ALSA REQUIRED)
find_package(CURL REQUIRED)
target_link_libraries(tintal_posix PUBLIC Threads::Threads ALSA::ALSA CURL::libcurl)

file(GLOB TINTAL_POSIX_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/posix_*.cpp)
add_executable(tintal ${TINTAL_POSIX_APP_SOURCES})
target_link_libraries(tintal PRIVATE tintal_posix tintal_portable)

# GCC 12 takes the payload of an empty std::optional in the ALSA writer loop for uninitialised, a known
# false positive that initialising does not silence. Only that warning, only in that file.
set_source_files_properties(${CMAKE_SOURCE_DIR}/src/platform/posix/alsa_audio_device.cpp
                            PROPERTIES COMPILE_OPTIONS $<$<CXX_COMPILER_ID:GNU>:-Wno-maybe-uninitialized>)
