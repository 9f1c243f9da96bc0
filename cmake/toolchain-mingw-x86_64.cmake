# Cross build for 64-bit Windows with mingw-w64 (posix thread model, for std::thread and std::mutex).
set(TINTAL_MINGW_TRIPLET x86_64-w64-mingw32)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
include(${CMAKE_CURRENT_LIST_DIR}/toolchain-mingw-common.cmake)
