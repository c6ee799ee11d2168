# nlohmann-json for the cross build. The library is header-only and installed
# in the build machine's /usr/include, which must not be on the cross
# compiler's include path (the C library's headers there would shadow the
# mingw ones). A directory in the build tree holds only a link to its headers.
set(_velmora_json_root ${CMAKE_BINARY_DIR}/nlohmann-json-include)
if(NOT EXISTS ${_velmora_json_root}/nlohmann/json.hpp)
  if(NOT EXISTS /usr/include/nlohmann/json.hpp)
    set(nlohmann_json_FOUND FALSE)
    set(nlohmann_json_NOT_FOUND_MESSAGE "nlohmann-json headers not found in /usr/include/nlohmann (apt-get install nlohmann-json3-dev)")
    return()
  endif()
  file(MAKE_DIRECTORY ${_velmora_json_root})
  file(CREATE_LINK /usr/include/nlohmann ${_velmora_json_root}/nlohmann SYMBOLIC)
endif()
if(NOT TARGET nlohmann_json::nlohmann_json)
  add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
  set_target_properties(nlohmann_json::nlohmann_json PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_velmora_json_root})
endif()
set(nlohmann_json_FOUND TRUE)
