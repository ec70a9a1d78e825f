# For the cross builds (mingw, emscripten): Debian's header-only libraries, each through a folder
# of its own, never the whole of /usr/include, whose C library is not the cross compiler's. fmt
# builds header-only.
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
