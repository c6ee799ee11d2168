# CLI11 for the cross build. The library is header-only and installed in the
# build machine's /usr/include, which must not be on the cross compiler's
# include path (the C library's headers there would shadow the mingw ones).
# A directory in the build tree holds only a link to the CLI headers.
set(_velmora_cli11_root ${CMAKE_BINARY_DIR}/cli11-include)
if(NOT EXISTS ${_velmora_cli11_root}/CLI/CLI.hpp)
  if(NOT EXISTS /usr/include/CLI/CLI.hpp)
    set(CLI11_FOUND FALSE)
    set(CLI11_NOT_FOUND_MESSAGE "CLI11 headers not found in /usr/include/CLI (apt-get install libcli11-dev)")
    return()
  endif()
  file(MAKE_DIRECTORY ${_velmora_cli11_root})
  file(CREATE_LINK /usr/include/CLI ${_velmora_cli11_root}/CLI SYMBOLIC)
endif()
if(NOT TARGET CLI11::CLI11)
  add_library(CLI11::CLI11 INTERFACE IMPORTED)
  set_target_properties(CLI11::CLI11 PROPERTIES
    INTERFACE_INCLUDE_DIRECTORIES ${_velmora_cli11_root})
endif()
set(CLI11_FOUND TRUE)
