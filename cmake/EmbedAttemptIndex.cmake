# Writes a C++ source that holds the bytes of the attempt index files as
# arrays, so that every program carries the index without reading a file.
#   cmake -DINDEX_DIR=dir -DOUTPUT=file.cpp -P EmbedAttemptIndex.cmake
# A missing index file gives an empty array; the tests then fail and say how
# to make the index again.
set(_source "// Made by cmake/EmbedAttemptIndex.cmake from ${INDEX_DIR}.\n#include <cstddef>\n\nnamespace velmora {\n")
foreach(_selection JillNormal JillHard ChrisNormal ChrisHard)
  set(_file ${INDEX_DIR}/${_selection}.idx)
  set(_bytes "")
  set(_size 0)
  if(EXISTS ${_file})
    file(READ ${_file} _hex HEX)
    string(LENGTH "${_hex}" _digits)
    math(EXPR _size "${_digits} / 2")
    # Sixteen bytes a line keeps the source readable for the compiler's
    # messages and quick to read.
    string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," _bytes "${_hex}")
    string(REGEX REPLACE "((0x[0-9a-f][0-9a-f],){16})" "\\1\n" _bytes "${_bytes}")
  endif()
  if(_size EQUAL 0)
    set(_bytes "0")
  endif()
  set(_name kAttemptIndex${_selection})
  string(APPEND _source "extern const unsigned char ${_name}[];\nextern const std::size_t ${_name}Size;\n")
  string(APPEND _source "alignas(8) const unsigned char ${_name}[] = {\n${_bytes}};\n")
  string(APPEND _source "const std::size_t ${_name}Size = ${_size};\n")
endforeach()
string(APPEND _source "\n}  // namespace velmora\n")
file(WRITE ${OUTPUT}.tmp "${_source}")
file(RENAME ${OUTPUT}.tmp ${OUTPUT})
