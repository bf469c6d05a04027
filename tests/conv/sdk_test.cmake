# The kit for Windows developers as one receives it: assembled by scripts/sdk.sh
# from this build, unpacked into an empty folder, and the C example built with
# the 32-bit MinGW compiler against the kit alone, once with the kit's import
# library and once with one made from the kit's .def as its LISEZMOI.txt says.
# Each program must be a PE32 console program importing geokern.dll's
# functions by their plain names.
# cmake -DSDK_SCRIPT= -DBUILD_DIR= -DWORK_DIR= -DC_COMPILER= -DDLLTOOL= -DOBJDUMP= -DEXAMPLE= -DINSPECT= -P sdk_test.cmake
file(REMOVE_RECURSE ${WORK_DIR})
file(MAKE_DIRECTORY ${WORK_DIR}/unpacked)
execute_process(COMMAND bash ${SDK_SCRIPT} ${BUILD_DIR} ${WORK_DIR}/geokern-win32-sdk.zip COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${CMAKE_COMMAND} -E tar xf ${WORK_DIR}/geokern-win32-sdk.zip
  WORKING_DIRECTORY ${WORK_DIR}/unpacked COMMAND_ERROR_IS_FATAL ANY)
set(kit ${WORK_DIR}/unpacked/geokern-win32-sdk)
foreach(f include/geokern2.h bin/geokern.dll bin/geokern-conv.exe lib/geokern.def lib/libgeokern.dll.a LISEZMOI.txt)
  if(NOT EXISTS ${kit}/${f})
    message(FATAL_ERROR "the kit lacks ${f}")
  endif()
endforeach()

set(EXPECTED_FORMAT pei-i386)
set(GEOKERN_IMPORTS "SysCoord2SysCoord|CSysCoord2SysCoord")

# With the kit's import library.
execute_process(COMMAND ${C_COMPILER} -std=c11 -Wall -Wextra -pedantic -Werror ${EXAMPLE}
    -I${kit}/include -L${kit}/lib -lgeokern -o ${WORK_DIR}/convertir.exe
  COMMAND_ERROR_IS_FATAL ANY)
set(EXE ${WORK_DIR}/convertir.exe)
include(${INSPECT})

# With an import library made from the kit's .def.
file(MAKE_DIRECTORY ${WORK_DIR}/def)
execute_process(COMMAND ${DLLTOOL} --kill-at -d ${kit}/lib/geokern.def -D geokern.dll -l ${WORK_DIR}/def/libgeokern.dll.a
  COMMAND_ERROR_IS_FATAL ANY)
execute_process(COMMAND ${C_COMPILER} -std=c11 -Wall -Wextra -pedantic -Werror ${EXAMPLE}
    -I${kit}/include -L${WORK_DIR}/def -lgeokern -o ${WORK_DIR}/convertir-def.exe
  COMMAND_ERROR_IS_FATAL ANY)
set(EXE ${WORK_DIR}/convertir-def.exe)
include(${INSPECT})
