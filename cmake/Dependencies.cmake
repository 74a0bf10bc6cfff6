# zlib (Debian's libz-mingw-w64-dev), minizip compiled from Debian's zlib source
# (fetched by scripts/setup.sh), stb_image (libstb-dev) and GoogleTest (googletest sources).

find_library(SKINLIB_ZLIB_A NAMES libz.a REQUIRED)
find_path(SKINLIB_ZLIB_INCLUDE zlib.h REQUIRED)
add_library(zlib_static STATIC IMPORTED GLOBAL)
set_target_properties(zlib_static PROPERTIES IMPORTED_LOCATION ${SKINLIB_ZLIB_A}
                      INTERFACE_INCLUDE_DIRECTORIES ${SKINLIB_ZLIB_INCLUDE})

set(SKINLIB_MINIZIP_DIR ${SKINLIB_DEPS_DIR}/zlib/contrib/minizip)
if(NOT EXISTS ${SKINLIB_MINIZIP_DIR}/unzip.c)
  message(FATAL_ERROR "minizip sources missing in ${SKINLIB_MINIZIP_DIR}: run scripts/setup.sh")
endif()
add_library(minizip_static STATIC ${SKINLIB_MINIZIP_DIR}/unzip.c ${SKINLIB_MINIZIP_DIR}/ioapi.c)
target_include_directories(minizip_static SYSTEM PUBLIC ${SKINLIB_MINIZIP_DIR})
target_compile_definitions(minizip_static PRIVATE NOCRYPT NOUNCRYPT)
target_compile_options(minizip_static PRIVATE -w)
target_link_libraries(minizip_static PUBLIC zlib_static)

# stb_image is header-only; its Debian headers live outside the cross sysroot.
find_path(SKINLIB_STB_INCLUDE stb/stb_image.h PATHS /usr/include NO_CMAKE_FIND_ROOT_PATH REQUIRED)
add_library(stb_image INTERFACE)
target_include_directories(stb_image SYSTEM INTERFACE ${SKINLIB_STB_INCLUDE}/stb)

set(SKINLIB_GTEST_DIR /usr/src/googletest CACHE PATH "GoogleTest sources")
set(gtest_disable_pthreads ON CACHE BOOL "" FORCE)
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${SKINLIB_GTEST_DIR} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
