# norvane_man_page(<target> INCLUDE <file.h2m>)
#
# The French manual page <target>.1, made at build time by help2man from the
# program's own --help and --version, so that it follows the options. The
# include file gives what --help does not: the NOM line and an EXEMPLE, in
# help2man's include format. The page is installed in share/man/man1. Native
# builds only: help2man runs the program. On where help2man is found, or where
# NORVANE_MAN_PAGES asks for them.
find_program(HELP2MAN_EXECUTABLE help2man)
if(HELP2MAN_EXECUTABLE)
  option(NORVANE_MAN_PAGES "The programs' manual pages (help2man)" ON)
else()
  option(NORVANE_MAN_PAGES "The programs' manual pages (help2man)" OFF)
endif()
if(NORVANE_MAN_PAGES AND NOT HELP2MAN_EXECUTABLE AND NOT CMAKE_CROSSCOMPILING)
  message(FATAL_ERROR "NORVANE_MAN_PAGES: help2man is not installed (scripts/install-deps.sh)")
endif()

function(norvane_man_page target)
  cmake_parse_arguments(arg "" "INCLUDE" "" ${ARGN})
  if(CMAKE_CROSSCOMPILING OR NOT NORVANE_MAN_PAGES)
    return()
  endif()
  set(page ${CMAKE_CURRENT_BINARY_DIR}/${target}.1)
  add_custom_command(OUTPUT ${page}
    # The section names in French (help2man's own translation); the program
    # writes French whatever the locale.
    COMMAND ${HELP2MAN_EXECUTABLE} --no-info --locale=fr_FR.UTF-8 --section=1
      --include=${arg_INCLUDE} --output=${page} $<TARGET_FILE:${target}>
    DEPENDS ${target} ${arg_INCLUDE}
    COMMENT "Manual page of ${target} (help2man)" VERBATIM)
  add_custom_target(${target}_man ALL DEPENDS ${page})
  include(GNUInstallDirs)
  install(FILES ${page} DESTINATION ${CMAKE_INSTALL_MANDIR}/man1)
endfunction()
