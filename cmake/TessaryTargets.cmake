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

# The service kits of the macOS backend (platform/macos/service_kits.h).
set(TESSARY_MACOS_KITS accessibility window_server screens workspace host_windows speech
                       input_state appkit)

# tessary_add_program(<name> CORE <library> MAIN <main.cpp> [USES <kits...>])
# A deliverable: its logic library plus a thin main linked with the backend;
# USES names the service kits it uses (tessary_link_backend).
function(tessary_add_program name)
  cmake_parse_arguments(ARG "" "CORE;MAIN" "USES" ${ARGN})
  add_executable(${name} ${ARG_MAIN})
  target_link_libraries(${name} PRIVATE ${ARG_CORE})
  tessary_link_backend(${name} USES ${ARG_USES})
endfunction()

# tessary_link_backend(<target> [USES <kits...>])
# Links the backend. On macOS each kit of TESSARY_MACOS_KITS is the real
# service (tessary_mac_<kit>, with its frameworks) when USES names it and a
# stand-in without frameworks (tessary_mac_no_<kit>) otherwise, so the target
# links and loads only the frameworks of the services it uses. Other systems
# have one backend with every service; the names are checked everywhere.
function(tessary_link_backend target)
  cmake_parse_arguments(ARG "" "" "USES" ${ARGN})
  foreach(kit ${ARG_USES})
    if(NOT kit IN_LIST TESSARY_MACOS_KITS)
      message(FATAL_ERROR "${target}: USES names ${kit}, which is no kit of ${TESSARY_MACOS_KITS}")
    endif()
  endforeach()
  target_link_libraries(${target} PRIVATE tessary_backend)
  if(APPLE)
    # No load command for a library nothing of the target's uses, such as
    # ICU where no text is segmented (every one listed is needed for the
    # symbols it supplies, none for a side effect of loading).
    target_link_options(${target} PRIVATE LINKER:-dead_strip_dylibs)
    foreach(kit ${TESSARY_MACOS_KITS})
      if(kit IN_LIST ARG_USES)
        target_link_libraries(${target} PRIVATE tessary_mac_${kit})
      else()
        target_link_libraries(${target} PRIVATE tessary_mac_no_${kit})
      endif()
    endforeach()
  endif()
endfunction()
