# Makes a header-only library installed in the build machine's /usr/include
# visible to the cross build. /usr/include itself must not be on the cross
# compiler's include path (the C library's headers there would shadow the
# mingw ones), so a directory in the build tree holds only a link to the
# library's header folder. A macro, so that its results and its return()
# belong to the package file that calls it.
#   velmora_host_headers(PACKAGE TARGET NAME FOLDER HEADER DEBIAN_PACKAGE)
macro(velmora_host_headers package target name folder header debian_package)
  set(_velmora_root ${CMAKE_BINARY_DIR}/${name}-include)
  if(NOT EXISTS ${_velmora_root}/${folder}/${header})
    if(NOT EXISTS /usr/include/${folder}/${header})
      set(${package}_FOUND FALSE)
      set(${package}_NOT_FOUND_MESSAGE
          "${name} headers not found in /usr/include/${folder} (apt-get install ${debian_package})")
      return()
    endif()
    file(MAKE_DIRECTORY ${_velmora_root})
    file(CREATE_LINK /usr/include/${folder} ${_velmora_root}/${folder} SYMBOLIC)
  endif()
  if(NOT TARGET ${target})
    add_library(${target} INTERFACE IMPORTED)
    set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${_velmora_root})
  endif()
  set(${package}_FOUND TRUE)
endmacro()
