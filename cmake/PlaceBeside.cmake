# norvane_place_beside(<target> [FILES file...] [TARGETS target...])
#
# Keeps copies of data files, and of other targets' binaries (the engine's DLL),
# beside <target>'s program in the build tree, so that its folder runs as the
# bundle does. The copies follow their sources: a regenerated grid file or a
# rebuilt engine is copied again even when <target> itself is not relinked,
# which a POST_BUILD step would miss. <target>'s program must be written to
# its folder's binary directory (the default).
function(norvane_place_beside target)
  cmake_parse_arguments(arg "" "" "FILES;TARGETS" ${ARGN})
  set(outputs)
  foreach(file IN LISTS arg_FILES)
    cmake_path(GET file FILENAME name)
    set(copy ${CMAKE_CURRENT_BINARY_DIR}/${name})
    add_custom_command(OUTPUT ${copy}
      COMMAND ${CMAKE_COMMAND} -E copy ${file} ${copy}
      DEPENDS ${file} VERBATIM)
    list(APPEND outputs ${copy})
  endforeach()
  foreach(source IN LISTS arg_TARGETS)
    # The binary's name depends on the target; a stamp stands for the copy.
    set(stamp ${CMAKE_CURRENT_BINARY_DIR}/${target}-${source}.placed)
    add_custom_command(OUTPUT ${stamp}
      COMMAND ${CMAKE_COMMAND} -E copy $<TARGET_FILE:${source}> ${CMAKE_CURRENT_BINARY_DIR}
      COMMAND ${CMAKE_COMMAND} -E touch ${stamp}
      DEPENDS ${source} VERBATIM)
    list(APPEND outputs ${stamp})
  endforeach()
  add_custom_target(${target}_beside DEPENDS ${outputs})
  add_dependencies(${target} ${target}_beside)
endfunction()
