# nlohmann-json for a cross build: the host's header-only package, offered
# through a folder that holds only its headers, so that the host's other
# headers (/usr/include) never shadow the target's.
set(nlohmann_json_VERSION 3.11.2)
if(NOT TARGET nlohmann_json::nlohmann_json)
  set(_dvdutil_json_include ${CMAKE_BINARY_DIR}/third_party/include)
  if(NOT EXISTS ${_dvdutil_json_include}/nlohmann)
    file(MAKE_DIRECTORY ${_dvdutil_json_include})
    file(CREATE_LINK /usr/include/nlohmann ${_dvdutil_json_include}/nlohmann SYMBOLIC)
  endif()
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED GLOBAL)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_dvdutil_json_include}
    INTERFACE_SYSTEM_INCLUDE_DIRECTORIES ${_dvdutil_json_include})
endif()
set(nlohmann_json_FOUND TRUE)
