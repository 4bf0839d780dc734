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

# tessary_add_program(<name> CORE <library> MAIN <main.cpp> [APPKIT])
# A deliverable: its logic library plus a thin main linked with the backend;
# APPKIT for the program that uses the AppKit services (tessary_link_backend).
function(tessary_add_program name)
  cmake_parse_arguments(ARG "APPKIT" "CORE;MAIN" "" ${ARGN})
  add_executable(${name} ${ARG_MAIN})
  target_link_libraries(${name} PRIVATE ${ARG_CORE})
  if(ARG_APPKIT)
    tessary_link_backend(${name} APPKIT)
  else()
    tessary_link_backend(${name})
  endif()
endfunction()

# tessary_link_backend(<target> [APPKIT])
# Links the backend. On macOS the services that need AppKit and Core
# Animation come from one of two libraries (platform/macos/appkit_services.h):
# the real ones with APPKIT, stand-ins without, so a target without APPKIT
# neither links nor loads AppKit. Other systems have one backend with every
# service.
function(tessary_link_backend target)
  cmake_parse_arguments(ARG "APPKIT" "" "" ${ARGN})
  target_link_libraries(${target} PRIVATE tessary_backend)
  if(TARGET tessary_appkit_services)
    if(ARG_APPKIT)
      target_link_libraries(${target} PRIVATE tessary_appkit_services)
    else()
      target_link_libraries(${target} PRIVATE tessary_no_appkit_services)
    endif()
  endif()
endfunction()
