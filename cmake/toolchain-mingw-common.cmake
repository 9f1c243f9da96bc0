# Shared part of the mingw-w64 toolchain files; the caller sets TINTAL_MINGW_TRIPLET.
set(CMAKE_SYSTEM_NAME Windows)

set(CMAKE_C_COMPILER ${TINTAL_MINGW_TRIPLET}-gcc-posix)
set(CMAKE_CXX_COMPILER ${TINTAL_MINGW_TRIPLET}-g++-posix)
set(CMAKE_RC_COMPILER ${TINTAL_MINGW_TRIPLET}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TINTAL_MINGW_TRIPLET})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# One self-contained exe: no libgcc, libstdc++ or winpthread DLL to ship beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static-libgcc -static-libstdc++")

# ctest runs the test exes under Wine, inside the environment tools/wine-env.sh starts for this build
# folder (prefix, virtual display, sound server). The run fails clearly when it was not started.
get_filename_component(TINTAL_WINE_ENV ${CMAKE_CURRENT_LIST_DIR}/../tools/wine-env.sh ABSOLUTE)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TINTAL_WINE_ENV} run ${CMAKE_BINARY_DIR} wine)
