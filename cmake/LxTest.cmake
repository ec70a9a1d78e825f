# lx_add_test(<name> LABEL <label> SOURCES <files...> LIBS <libs...>)
# One GoogleTest program, its cases discovered into CTest with the given label
# (core, dialog, qt) so that `ctest -L core` runs without a display.
# Cross-built, the program is one CTest test run under the emulator (Wine), labelled also
# `wine`: starting Wine once per case would cost seconds each. The cases that run the real
# lxcfg through a POSIX shell stay on Linux; the Windows test script runs lxcfg.exe itself.
function(lx_add_test name)
  cmake_parse_arguments(T "" "LABEL" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} GTest::gtest GTest::gtest_main)
  add_dependencies(${name} lx_data)
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name} --gtest_brief=1 --gtest_filter=-LxcfgProgram.* WORKING_DIRECTORY ${CMAKE_BINARY_DIR})
    set_tests_properties(${name} PROPERTIES LABELS "${T_LABEL};wine" TIMEOUT 600)
    return()
  endif()
  gtest_discover_tests(${name}
    WORKING_DIRECTORY ${CMAKE_BINARY_DIR}
    PROPERTIES LABELS ${T_LABEL}
    DISCOVERY_TIMEOUT 60)
endfunction()
