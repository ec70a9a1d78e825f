# Browser build (emcmake cmake -S . -B build-web): fmt and nlohmann-json from Debian's headers,
# each through a folder of its own, never the whole of /usr/include (whose C library is not
# emscripten's).
function(lx_header_library target folder)
  get_filename_component(name ${folder} NAME)
  set(root ${CMAKE_BINARY_DIR}/headers/${name})
  file(MAKE_DIRECTORY ${root})
  file(CREATE_LINK ${folder} ${root}/${name} SYMBOLIC)
  add_library(${target} INTERFACE IMPORTED GLOBAL)
  set_target_properties(${target} PROPERTIES INTERFACE_INCLUDE_DIRECTORIES ${root})
endfunction()
lx_header_library(nlohmann_json::nlohmann_json /usr/include/nlohmann)
lx_header_library(fmt::fmt /usr/include/fmt)
set_target_properties(fmt::fmt PROPERTIES INTERFACE_COMPILE_DEFINITIONS FMT_HEADER_ONLY=1)
set(LX_BENCH OFF)
# Size over speed: the page's transfer is what a visitor waits for.
# Size over speed, and no debug information in what the page loads: the transfer is what a
# visitor waits for.
set(CMAKE_CXX_FLAGS_RELWITHDEBINFO "-Os -DNDEBUG")
set(CMAKE_CXX_FLAGS_RELEASE "-Os -DNDEBUG")
add_link_options($<$<NOT:$<CONFIG:Debug>>:-Os>)
# The dialogs' data exchange reports a refused box by throwing; catching must work.
add_compile_options(-fexceptions)
add_link_options(-fexceptions)
