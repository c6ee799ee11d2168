# Highway's headers, without its library: the deal kernels choose among the
# instruction sets themselves. The headers come from the build machine's
# /usr/include (Debian's libhwy-dev) for native and cross builds alike,
# through a folder that holds only a link to them.
include(${CMAKE_CURRENT_LIST_DIR}/host-headers/HostHeaders.cmake)
velmora_host_headers(HighwayHeaders Highway::headers Highway hwy highway.h libhwy-dev)
