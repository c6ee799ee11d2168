# nlohmann-json for the cross builds, from the build machine's headers.
include(${CMAKE_CURRENT_LIST_DIR}/HostHeaders.cmake)
velmora_host_headers(nlohmann_json nlohmann_json::nlohmann_json nlohmann-json nlohmann json.hpp
                     nlohmann-json3-dev)
