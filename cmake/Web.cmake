# Browser build (emcmake cmake -S . -B build-web): fmt and nlohmann-json from Debian's headers.
include(${CMAKE_CURRENT_LIST_DIR}/HeaderLibraries.cmake)
set(LX_BENCH OFF)
# Size over speed, and no debug information in what the page loads: the transfer is what a
# visitor waits for.
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
add_link_options($<$<NOT:$<CONFIG:Debug>>:-Os>)
# The dialogs' data exchange reports a refused box by throwing; catching must work.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)

# The picture buttons' faces and our icons as PNG files, drawn by the Linux build's own picture
# code (pictures/, packaging/icons.cpp, over the Qt host): this build has no Qt. They are drawn
# in a Linux build of this tree: LX_HOST_BUILD when given (scripts/build-web.sh names build/
# where it exists, so nothing is compiled twice), else a host build of just those programs in
# host/ here, as the Windows build keeps one for its icons.
set(LX_HOST_BUILD "" CACHE PATH "A Linux build of this tree to draw the site's pictures in (empty: host/ here)")
if(LX_HOST_BUILD)
  set(LX_HOST_PICTURES ${LX_HOST_BUILD}/web-pictures)
  add_custom_target(lx_host_pictures
    COMMAND env -u EMSDK -u EM_CONFIG ${CMAKE_COMMAND} --build ${LX_HOST_BUILD} --target lx_web_pictures
    BYPRODUCTS ${LX_HOST_PICTURES}/stamp
    COMMENT "Drawing the site's pictures in ${LX_HOST_BUILD}")
  return()
endif()
include(ExternalProject)
set(LX_HOST_BUILD_DIR ${CMAKE_BINARY_DIR}/host)
set(LX_HOST_PICTURES ${LX_HOST_BUILD_DIR}/web-pictures)
set(LX_HOST_ARGS -DCMAKE_BUILD_TYPE=RelWithDebInfo -DLX_BENCH=OFF -DCMAKE_TOOLCHAIN_FILE= -G Ninja)
if(CMAKE_CXX_COMPILER_LAUNCHER)
  list(APPEND LX_HOST_ARGS -DCMAKE_CXX_COMPILER_LAUNCHER=${CMAKE_CXX_COMPILER_LAUNCHER})
endif()
ExternalProject_Add(lx_host_pictures
  SOURCE_DIR ${CMAKE_SOURCE_DIR}
  BINARY_DIR ${LX_HOST_BUILD_DIR}
  CMAKE_COMMAND env -u EMSDK -u EM_CONFIG CC=gcc CXX=g++ ${CMAKE_COMMAND}
  CMAKE_ARGS ${LX_HOST_ARGS}
  BUILD_COMMAND ${CMAKE_COMMAND} --build <BINARY_DIR> --target lx_web_pictures
  BUILD_ALWAYS ON
  BUILD_BYPRODUCTS ${LX_HOST_PICTURES}/stamp
  INSTALL_COMMAND "")
