# Cross-compiles for Linux on another processor with Debian's cross compilers
# (g++-TRIPLE), for example -DVELMORA_CROSS_TRIPLE=aarch64-linux-gnu.
# Programs are linked statically, so that qemu-user runs them without the
# other processor's libraries.
if(NOT VELMORA_CROSS_TRIPLE)
  message(FATAL_ERROR "Set VELMORA_CROSS_TRIPLE, for example aarch64-linux-gnu")
endif()
list(APPEND CMAKE_TRY_COMPILE_PLATFORM_VARIABLES VELMORA_CROSS_TRIPLE)
set(CMAKE_SYSTEM_NAME Linux)
string(REGEX REPLACE "-.*" "" CMAKE_SYSTEM_PROCESSOR "${VELMORA_CROSS_TRIPLE}")

set(CMAKE_C_COMPILER ${VELMORA_CROSS_TRIPLE}-gcc)
set(CMAKE_CXX_COMPILER ${VELMORA_CROSS_TRIPLE}-g++)

# Libraries, headers and packages come from the cross sysroot only, never
# from the build machine; build tools come from the build machine.
set(CMAKE_FIND_ROOT_PATH /usr/${VELMORA_CROSS_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
