# The floating-point model is pinned for everything that is built: no contraction
# into fused multiply-adds, SSE2 arithmetic only (never x87), no fast-math.
add_compile_options(-ffp-contract=off)
if(CMAKE_SYSTEM_PROCESSOR MATCHES "x86_64|AMD64|amd64")
  add_compile_options(-msse2 -mfpmath=sse)
endif()

# Our own targets link vyr_warnings: warnings are errors there, not in third-party code.
add_library(vyr_warnings INTERFACE)
target_compile_options(vyr_warnings INTERFACE -Wall -Wextra -Werror)

if(VYR_SANITIZE)
  add_compile_options(-fsanitize=address,undefined,float-cast-overflow
                      -fno-sanitize-recover=all -fno-omit-frame-pointer)
  add_link_options(-fsanitize=address,undefined,float-cast-overflow)
endif()

if(WIN32)
  # One self-contained exe: no libstdc++, libgcc or winpthread DLLs beside it.
  add_link_options(-static -static-libgcc -static-libstdc++)
  add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX)
endif()

# GCC 12 reports false -Wrestrict errors inside libstdc++'s std::string code once it
# inlines at -O2 (GCC bug 105651); the MinGW release build trips on it.
if(CMAKE_CXX_COMPILER_ID STREQUAL "GNU" AND CMAKE_CXX_COMPILER_VERSION VERSION_LESS 13)
  target_compile_options(vyr_warnings INTERFACE -Wno-restrict)
endif()
