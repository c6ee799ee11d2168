# CLI11 for the cross builds, from the build machine's headers.
include(${CMAKE_CURRENT_LIST_DIR}/HostHeaders.cmake)
velmora_host_headers(CLI11 CLI11::CLI11 CLI11 CLI CLI.hpp libcli11-dev)
