# Shared by the mingw-w64 toolchain files: the posix compilers, the target's
# own headers and libraries only, Wine to run what is built (tests, tool runs).
set(CMAKE_C_COMPILER ${DVDUTIL_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DVDUTIL_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DVDUTIL_MINGW_TRIPLE}-windres)
set(CMAKE_FIND_ROOT_PATH /usr/${DVDUTIL_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Each .exe runs on a bare Windows: no libgcc, libstdc++ or winpthread DLLs.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

# Header-only libraries of the build host that the target may use as they are.
set(nlohmann_json_DIR ${CMAKE_CURRENT_LIST_DIR}/../windows/nlohmann_json)

# Tests run under Wine; scripts/test.sh --windows points WINEPREFIX into the
# build folder.
find_program(DVDUTIL_WINE wine)
if(DVDUTIL_WINE)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DVDUTIL_WINE})
endif()
