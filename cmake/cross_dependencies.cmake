# The test and JSON libraries for a cross build: GoogleTest built from Debian's sources with
# the cross compiler, and the header-only JSON library through a folder that holds it alone
# (the host's /usr/include must not reach the cross compiler).
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
set(BUILD_GMOCK ON CACHE BOOL "" FORCE)
add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)

find_path(OFU_HOST_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH NO_DEFAULT_PATH REQUIRED)
set(json_only ${CMAKE_BINARY_DIR}/json-include)
file(MAKE_DIRECTORY ${json_only})
file(CREATE_LINK ${OFU_HOST_JSON_INCLUDE}/nlohmann ${json_only}/nlohmann SYMBOLIC)
add_library(nlohmann_json INTERFACE)
target_include_directories(nlohmann_json SYSTEM INTERFACE ${json_only})
add_library(nlohmann_json::nlohmann_json ALIAS nlohmann_json)

# Test programs list their tests when ctest runs (under wine, inside the lab), never during
# the build.
set(CMAKE_GTEST_DISCOVER_TESTS_DISCOVERY_MODE PRE_TEST)
