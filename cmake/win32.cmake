# Windows adapters and the Windows tray program.
file(GLOB TINTAL_WIN32_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/platform/win32/*.cpp)
add_library(tintal_win32 STATIC ${TINTAL_WIN32_SOURCES})
target_link_libraries(tintal_win32 PUBLIC tintal_platform PRIVATE tintal_base)
# Wide (W) calls throughout, and no min/max macros to break std::min; Windows 7 APIs at most.
target_compile_definitions(tintal_win32 PUBLIC UNICODE _UNICODE NOMINMAX _WIN32_WINNT=0x0601)
target_link_libraries(tintal_win32 PUBLIC winmm user32 gdi32 comctl32 comdlg32 shell32 ole32 advapi32 wininet version)

# The windows: thin views over the window models, shared by the program and the Windows tests.
file(GLOB TINTAL_WIN32_UI_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/ui/win32/*.cpp)
add_library(tintal_win32_ui STATIC ${TINTAL_WIN32_UI_SOURCES})
# The adapters PUBLIC for their compile definitions (UNICODE ...), which every user of the windows needs.
target_link_libraries(tintal_win32_ui PUBLIC tintal_win32 tintal_portable)

file(GLOB TINTAL_WIN32_APP_SOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/src/app/win32_*.cpp)
file(GLOB TINTAL_WIN32_RESOURCES CONFIGURE_DEPENDS ${CMAKE_SOURCE_DIR}/resources/*.rc)
add_executable(tintal WIN32 ${TINTAL_WIN32_APP_SOURCES} ${TINTAL_WIN32_RESOURCES})
target_link_libraries(tintal PRIVATE tintal_win32_ui tintal_clips)
if(TINTAL_WIN32_RESOURCES)
  # The .rc files name the clips and icons relative to resources/, whatever the build folder, and take
  # the version and resource numbers from the sources.
  set_property(SOURCE ${TINTAL_WIN32_RESOURCES} APPEND PROPERTY INCLUDE_DIRECTORIES ${CMAKE_SOURCE_DIR}/resources
                                                                                   ${CMAKE_SOURCE_DIR}/src)
  set_property(SOURCE ${TINTAL_WIN32_RESOURCES} APPEND PROPERTY OBJECT_DEPENDS
               ${CMAKE_SOURCE_DIR}/resources/tintal.ico ${CMAKE_SOURCE_DIR}/resources/tintal_off.ico
               ${CMAKE_SOURCE_DIR}/resources/tintal.manifest ${CMAKE_SOURCE_DIR}/src/base/version.h)
endif()

# Installed beside the program: the help that "Aide" opens when no compiled help is there.
configure_file(${CMAKE_SOURCE_DIR}/resources/help/tintal_help.html ${CMAKE_BINARY_DIR}/tintal_help.html COPYONLY)
