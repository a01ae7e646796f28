# The libFuzzer build: clang's fuzzer, address and undefined-behaviour
# sanitizers on everything built here. Meant for a build folder of its own
# (scripts/fuzz.sh makes build-fuzz/), never the normal build.
if(NOT CMAKE_CXX_COMPILER_ID MATCHES "Clang")
  message(FATAL_ERROR "DVDUTIL_BUILD_FUZZ needs clang (configure with CXX=clang++)")
endif()
string(APPEND CMAKE_CXX_FLAGS
  " -fsanitize=fuzzer-no-link,address,undefined -fno-sanitize-recover=undefined"
  " -fno-omit-frame-pointer")
string(APPEND CMAKE_EXE_LINKER_FLAGS " -fsanitize=address,undefined")
