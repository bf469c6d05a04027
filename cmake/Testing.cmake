# GoogleTest for every toolchain, and the helper that registers a test program.
#
# Native builds use Debian's installed GoogleTest; cross builds compile it from
# Debian's sources (package googletest) with their own compiler. Builds whose
# programs cannot run here (32-bit Windows) build no test programs at all.

if(NOT CMAKE_CROSSCOMPILING OR CMAKE_CROSSCOMPILING_EMULATOR)
  set(NORVANE_RUNS_TESTS ON)
else()
  set(NORVANE_RUNS_TESTS OFF)
endif()
set(NORVANE_UNDER_WINE OFF)
if(CMAKE_SYSTEM_NAME STREQUAL "Windows" AND NORVANE_RUNS_TESTS)
  set(NORVANE_UNDER_WINE ON)
endif()
# The status of scripts/wine.sh for a 32-bit program on a kernel that runs no
# 32-bit code: the tests it runs report it as skipped (SKIP_RETURN_CODE).
set(NORVANE_WINE_SKIPPED 77)

if(BUILD_TESTING AND NORVANE_RUNS_TESTS)
  if(CMAKE_CROSSCOMPILING)
    set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
    set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
    add_subdirectory(/usr/src/googletest ${CMAKE_BINARY_DIR}/googletest EXCLUDE_FROM_ALL SYSTEM)
    if(NOT TARGET GTest::gtest_main)
      add_library(GTest::gtest_main ALIAS gtest_main)
    endif()
  else()
    find_package(GTest REQUIRED)
  endif()
  include(GoogleTest)
endif()

# norvane_add_gtest(<target>): links a GoogleTest program with GoogleTest's main
# and the project's build options, and registers it with CTest. Under
# wine each start of a program costs about a second, so there the whole program
# is one CTest test; elsewhere every test case is a CTest test of its own.
# Its scratch files (GoogleTest's TempDir()) go to a folder of its own in the
# build tree, not to the machine's /tmp that every build shares.
function(norvane_add_gtest target)
  target_link_libraries(${target} PRIVATE GTest::gtest_main norvane_warnings norvane_sanitizers)
  if(EMSCRIPTEN)
    # Run by Node (the toolchain's emulator), the WebAssembly inside the
    # script, the host's files seen as they are.
    target_link_options(${target} PRIVATE -sENVIRONMENT=node -sSINGLE_FILE=1 -sNODERAWFS=1 -sALLOW_MEMORY_GROWTH=1)
  endif()
  set(scratch ${CMAKE_CURRENT_BINARY_DIR}/${target}.scratch)
  file(MAKE_DIRECTORY ${scratch})
  if(NORVANE_UNDER_WINE)
    add_test(NAME ${target} COMMAND ${target})
    set_tests_properties(${target} PROPERTIES ENVIRONMENT_MODIFICATION "TEST_TMPDIR=set:Z:${scratch}"
      SKIP_RETURN_CODE ${NORVANE_WINE_SKIPPED})
  else()
    gtest_discover_tests(${target} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
      PROPERTIES ENVIRONMENT_MODIFICATION "TEST_TMPDIR=set:${scratch}")
  endif()
endfunction()

