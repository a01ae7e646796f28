# 64-bit Windows (x86-64) with Debian's mingw-w64, posix thread model. The
# records then have their 64-bit sizes; the 32-bit build is the one we ship.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR AMD64)
set(DVDUTIL_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64-common.cmake)
