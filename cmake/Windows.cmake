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

# CLI11, nlohmann-json and fmt from Debian's headers.
include(${CMAKE_CURRENT_LIST_DIR}/HeaderLibraries.cmake)
lx_header_library(CLI11::CLI11 /usr/include/CLI)

# Our icons for the programs' .exe files, drawn by the Linux build's icon program (packaging/
# icons.cpp, over the Qt host's picture code) as the Linux icons are: this build has no Qt, so
# a host build of just that program lives in host/ here and is brought up to date with the
# programs. It takes Qt and the other libraries from the same Debian packages.
include(ExternalProject)
set(LX_HOST_BUILD ${CMAKE_BINARY_DIR}/host)
set(LX_WINDOWS_ICON_DIR ${LX_HOST_BUILD}/packaging/windows-icons)
set(LX_WINDOWS_ICONS ${LX_WINDOWS_ICON_DIR}/ambrel.ico ${LX_WINDOWS_ICON_DIR}/ostrel.ico)
set(LX_HOST_ARGS -DCMAKE_BUILD_TYPE=Release -DLX_BENCH=OFF)
if(CMAKE_CXX_COMPILER_LAUNCHER)
  list(APPEND LX_HOST_ARGS -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(lx_host_icons
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${LX_HOST_BUILD}
  CMAKE_ARGS ${LX_HOST_ARGS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target lx_windows_icons
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${LX_WINDOWS_ICONS}
  INSTALL_COMMAND ""
  EXCLUDE_FROM_ALL ON)

# Unicode Win32 API throughout; text is UTF-8 inside and UTF-16 at the API boundary.
add_compile_definitions(UNICODE _UNICODE WIN32_LEAN_AND_MEAN NOMINMAX _WIN32_WINNT=0x0601)

# The installed zip: the three programs with Data/ beside them (app/CMakeLists.txt). Only what
# the zip holds is built for it; the test programs are built by their own targets.
set(CMAKE_SKIP_INSTALL_ALL_DEPENDENCY ON)
# Beside them: a read-me for Windows users, with Windows line ends and a byte-order mark so that
# every Notepad shows its Chinese menu names, and the user documentation (the guide's links stay
# within docs/).
set(LX_README ${CMAKE_SOURCE_DIR}/packaging/windows/README.txt)
set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${LX_README})
string(ASCII 239 187 191 LX_BOM)
file(READ ${LX_README} LX_README_TEXT)
file(WRITE ${CMAKE_BINARY_DIR}/README.txt.in "${LX_BOM}${LX_README_TEXT}")
configure_file(${CMAKE_BINARY_DIR}/README.txt.in ${CMAKE_BINARY_DIR}/README.txt @ONLY NEWLINE_STYLE CRLF)
install(FILES ${CMAKE_BINARY_DIR}/README.txt DESTINATION .)
install(FILES ${CMAKE_SOURCE_DIR}/docs/guide.md ${CMAKE_SOURCE_DIR}/docs/lxcfg.md ${CMAKE_SOURCE_DIR}/docs/default-images.md
        DESTINATION docs)
set(CPACK_GENERATOR ZIP)
set(CPACK_PACKAGE_NAME lxtools)
set(CPACK_PACKAGE_FILE_NAME lxtools-${PROJECT_VERSION}-windows-x64)
set(CPACK_INCLUDE_TOPLEVEL_DIRECTORY ON)
set(CPACK_STRIP_FILES ON)  # the shipped programs without their symbols
set(CPACK_PACKAGE_DIRECTORY ${CMAKE_BINARY_DIR}/package)
include(CPack)
