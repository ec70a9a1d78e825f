# lx_add_test(<name> LABEL <label> SOURCES <files...> LIBS <libs...>)
# One GoogleTest program, its cases discovered into CTest with the given label
# (core, dialog, qt) so that `ctest -L core` runs without a display.
function(lx_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  add_dependencies(${name} lx_data)
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES LABELS ${T_LABEL}
    DISCOVERY_TIMEOUT 60)
endfunction()
