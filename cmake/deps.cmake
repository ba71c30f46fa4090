# Third-party pieces used by the tools and tests (the programs themselves need only
# the standard library and the Win32 API).

# CLI11 is header-only. Its headers are copied into the build tree so that a cross
# build can use them without putting the host's /usr/include on its include path. The
# web build has no command line.
if(NOT EMSCRIPTEN)
  find_path(VYR_CLI11_DIR CLI/CLI.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
  file(COPY ${VYR_CLI11_DIR}/CLI DESTINATION ${CMAKE_BINARY_DIR}/third_party/include)
  add_library(vyr_cli11 INTERFACE)
  target_include_directories(vyr_cli11 SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/third_party/include)
endif()

# nlohmann-json, header-only too, reads and writes every JSON text of the tools; copied
# the same way.
find_path(VYR_JSON_DIR nlohmann/json.hpp PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
file(COPY ${VYR_JSON_DIR}/nlohmann DESTINATION ${CMAKE_BINARY_DIR}/third_party/include)
add_library(vyr_json INTERFACE)
target_include_directories(vyr_json SYSTEM INTERFACE ${CMAKE_BINARY_DIR}/third_party/include)

# simdjson reads batch lines on native builds. Debian ships it as a shared library for this
# machine only, so the Windows and web builds read them with nlohmann-json's event reader.
add_library(vyr_fast_json INTERFACE)
if(NOT CMAKE_CROSSCOMPILING AND NOT EMSCRIPTEN)
  find_package(simdjson CONFIG REQUIRED)
  target_link_libraries(vyr_fast_json INTERFACE simdjson::simdjson)
  target_compile_definitions(vyr_fast_json INTERFACE VYR_HAVE_SIMDJSON)
endif()

if(VYR_BUILD_TESTS)
  if(CMAKE_CROSSCOMPILING)
    # Debian ships GoogleTest's sources: build them with the cross compiler.
    set(gtest_force_shared_crt ON CACHE BOOL "" FORCE)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/third_party/googletest EXCLUDE_FROM_ALL SYSTEM)
    # Recent GoogleTest builds define these names themselves.
    if(NOT TARGET GTest::gtest)
      add_library(GTest::gtest ALIAS gtest)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

if(VYR_BUILD_BENCH AND NOT CMAKE_CROSSCOMPILING)
  find_package(benchmark REQUIRED)
endif()
