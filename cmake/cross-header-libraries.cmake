# CLI11 and nlohmann-json for a cross build: both are header-only, so Debian's packages for the
# build machine serve any target. Their CMake packages would put all of /usr/include on the
# include path, where the build machine's C library headers would shadow the target's; instead
# only the two libraries' own folders are copied into the build folder and given as targets of
# the names the packages define.
find_path(RAILSCEN_CLI11_INCLUDE CLI/CLI.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)
find_path(RAILSCEN_JSON_INCLUDE nlohmann/json.hpp PATHS /usr/include NO_DEFAULT_PATH
          NO_CMAKE_FIND_ROOT_PATH REQUIRED)

set(cross_headers ${CMAKE_BINARY_DIR}/cross-headers)
file(COPY ${RAILSCEN_CLI11_INCLUDE}/CLI DESTINATION ${cross_headers})
file(COPY ${RAILSCEN_JSON_INCLUDE}/nlohmann DESTINATION ${cross_headers})

add_library(CLI11::CLI11 INTERFACE IMPORTED)
target_include_directories(CLI11::CLI11 SYSTEM INTERFACE ${cross_headers})
add_library(nlohmann_json::nlohmann_json INTERFACE IMPORTED)
target_include_directories(nlohmann_json::nlohmann_json SYSTEM INTERFACE ${cross_headers})
