# Windows build (cross-built with cmake/mingw-w64-x86_64.cmake): the libraries the Linux build
# finds as packages come from Debian's sources and headers here, and the zip is packed by CPack.

# GoogleTest is built from source with the cross compiler.
set(LX_GOOGLETEST_SOURCE /usr/src/googletest CACHE PATH "GoogleTest sources")
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
enable_language(C)
enable_language(RC)
add_subdirectory(${LX_GOOGLETEST_SOURCE} ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
foreach(lib gtest gtest_main)
  if(NOT TARGET GTest::${lib})
    add_library(GTest::${lib} ALIAS ${lib})
  endif()
endforeach()

# CLI11 and nlohmann-json are header-only, and fmt builds header-only: each exposes only its own
# folder of Debian's headers, never the whole of /usr/include (whose C library is not mingw's).
function(lx_header_library target folder)
  get_filename_component(name ${folder} NAME)
  set(root ${CMAKE_BINARY_DIR}/headers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
lx_header_library(CLI11::CLI11 /usr/include/CLI)
lx_header_library(nlohmann_json::nlohmann_json /usr/include/nlohmann)
lx_header_library(fmt::fmt /usr/include/fmt)
set_target_properties(fmt::fmt PROPERTIES INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY=1)

# Unicode Win32 API throughout; text is UTF-8 inside and UTF-16 at the API boundary.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The installed zip: the three programs with Data/ beside them. Only what the zip holds is
# built for it; the test programs are built by their own targets.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME lxtools)
set(CPACK_PACKAGE_FILE_NAME lxtools-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the shipped programs without their symbols
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
