# tessary_add_test(<name> SOURCES <files...> [LIBS <libs...>])
# One GoogleTest executable, registered with CTest test by test.
function(tessary_add_test name)
  cmake_parse_arguments(ARG "" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${ARG_SOURCES})
  target_link_libraries(${name} PRIVATE ${ARG_LIBS} tessary_testsupport GTest::gtest GTest::gtest_main
                                        GTest::gmock)
  set_target_properties(${name} PROPERTIES RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/tests)
  # Each property takes one value here: a list in ENVIRONMENT loses all but
  # its first entry on the way through test discovery.
  gtest_discover_tests(${name} DISCOVERY_MODE PRE_TEST
                       PROPERTIES ENVIRONMENT "TESSARY_SOURCE_DIR=${CMAKE_SOURCE_DIR}"
                                  ENVIRONMENT_MODIFICATION "TESSARY_BIN_DIR=set:${CMAKE_BINARY_DIR}/bin")
endfunction()

# tessary_add_program(<name> CORE <library> MAIN <main.cpp>)
# A deliverable: its logic library plus a thin main linked with the backend.
function(tessary_add_program name)
  cmake_parse_arguments(ARG "" "CORE;MAIN" "" ${ARGN})
  add_executable(${name} ${ARG_MAIN})
  target_link_libraries(${name} PRIVATE ${ARG_CORE} tessary_backend)
endfunction()
