# Cross build for 32-bit Windows with mingw-w64: the release build, able to load the station vendor's
# 32-bit library. Its tests need a 32-bit Wine, which this machine does not have, so they are only built.
set(TINTAL_MINGW_TRIPLET i686-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR i686)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
