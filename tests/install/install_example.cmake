# cmake -DBUILD_DIR= -DEXAMPLE_DIR= -DWORK_DIR= -DC_COMPILER= -DPKG_CONFIG= -DLIBDIR= -P install_example.cmake
file(REMOVE_RECURSE ${WORK_DIR})
set(prefix ${WORK_DIR}/prefix)
file(READ ${EXAMPLE_DIR}/convertir.attendu attendu)

function(verifie_sortie programme)
  execute_process(COMMAND ${programme} OUTPUT_VARIABLE sortie RESULT_VARIABLE code)
  if(NOT code EQUAL 0)
    message(FATAL_ERROR "${programme} exited with ${code}")
  endif()
  if(NOT sortie STREQUAL attendu)
    message(FATAL_ERROR "${programme} printed:\n${sortie}\nexpected:\n${attendu}")
  endif()
  message(STATUS "${programme}: output as expected")
endfunction()

execute_process(COMMAND ${CMAKE_COMMAND} --install ${BUILD_DIR} --prefix ${prefix}
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
foreach(f include/geokern2.h ${LIBDIR}/cmake/geokern/geokernConfig.cmake ${LIBDIR}/pkgconfig/geokern.pc)
  if(NOT EXISTS ${prefix}/${f})
    message(FATAL_ERROR "not installed: ${f}")
  endif()
endforeach()

# Through the CMake package.
execute_process(COMMAND ${CMAKE_COMMAND} -S ${EXAMPLE_DIR} -B ${WORK_DIR}/cmake
    -DCMAKE_PREFIX_PATH=${prefix} -DCMAKE_C_COMPILER=${C_COMPILER} -DCMAKE_BUILD_TYPE=Release
  OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} --build ${WORK_DIR}/cmake OUTPUT_QUIET COMMAND_ERROR_IS_FATAL ANY)
verifie_sortie(${WORK_DIR}/cmake/convertir)

# Through pkg-config, as a plain compiler command.
set(ENV{PKG_CONFIG_PATH} ${prefix}/${LIBDIR}/pkgconfig)
execute_process(COMMAND ${PKG_CONFIG} --cflags --libs geokern
  OUTPUT_VARIABLE drapeaux OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${PKG_CONFIG} --variable=libdir geokern
  OUTPUT_VARIABLE libdir OUTPUT_STRIP_TRAILING_WHITESPACE COMMAND_ERROR_IS_FATAL ANY)
separate_arguments(drapeaux UNIX_COMMAND "${drapeaux}")
execute_process(COMMAND ${C_COMPILER} -std=c11 -Wall -Wextra -pedantic -Werror ${EXAMPLE_DIR}/convertir.c
    ${drapeaux} -Wl,-rpath,${libdir} -o ${WORK_DIR}/convertir-pc
  COMMAND_ERROR_IS_FATAL ANY)
verifie_sortie(${WORK_DIR}/convertir-pc)
