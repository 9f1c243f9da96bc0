# Linux adapters and the Linux clock program.
file(GLOB TINTAL_POSIX_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/posix/*.cpp)
add_library(tintal_posix STATIC ${TINTAL_POSIX_SOURCES})
target_link_libraries(tintal_posix PUBLIC tintal_core tintal_clips)
find_package(Threads REQUIRED)
find_package(ALSA REQUIRED)
find_package(CURL REQUIRED)
target_link_libraries(tintal_posix PUBLIC Threads::Threads ALSA::ALSA CURL::libcurl)

file(GLOB TINTAL_POSIX_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/posix_*.cpp)
add_executable(tintal ${TINTAL_POSIX_APP_SOURCES})
target_link_libraries(tintal PRIVATE tintal_posix)
