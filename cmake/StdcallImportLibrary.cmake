# The import library of a 32-bit DLL whose stdcall exports carry plain names
# (geokern.def with -Wl,--kill-at). A caller's compiler refers to _Name@N (and
# __imp__Name@N); the import library the linker writes from the plain .def has
# only _Name, so no stdcall caller links. This script writes the .def with the
# decorated names, taken from the DLL's own objects, and builds the import
# library from it with dlltool --kill-at: decorated symbols, plain imported
# names. The decorated .def is also the one for Microsoft's lib /def.
#
# cmake -DDEF=plain.def -DOBJECTS=a.obj|b.obj -DNM=... -DDLLTOOL=... -DDLL_NAME=geokern.dll
#       -DDECORATED_DEF=out.def -DIMPORT_LIBRARY=libgeokern.dll.a -P StdcallImportLibrary.cmake
file(STRINGS ${DEF} lines)
string(REPLACE "|" ";" OBJECTS "${OBJECTS}")
execute_process(COMMAND ${NM} -g --defined-only ${OBJECTS} OUTPUT_VARIABLE symbols COMMAND_ERROR_IS_FATAL ANY)
set(out "; Exports of ${DLL_NAME} with the stdcall decoration of their symbols (name@bytes of\n")
string(APPEND out "; arguments); the DLL exports them under the plain names, at these ordinals.\n")
string(APPEND out "LIBRARY ${DLL_NAME}\nEXPORTS\n")
set(count 0)
foreach(line IN LISTS lines)
  if(line MATCHES "^[ \t]+([A-Za-z_][A-Za-z0-9_]*)[ \t]+@([0-9]+)")
    set(name ${CMAKE_MATCH_1})
    set(ordinal ${CMAKE_MATCH_2})
    if(NOT symbols MATCHES " T _${name}@([0-9]+)\n")
      message(FATAL_ERROR "no stdcall symbol _${name}@N in the objects")
    endif()
    string(APPEND out "    ${name}@${CMAKE_MATCH_1} @${ordinal}\n")
    math(EXPR count "${count} + 1")
  endif()
endforeach()
if(count EQUAL 0)
  message(FATAL_ERROR "no exports read from ${DEF}")
endif()
file(WRITE ${DECORATED_DEF} "${out}")
execute_process(COMMAND ${DLLTOOL} --kill-at -d ${DECORATED_DEF} -D ${DLL_NAME} -l ${IMPORT_LIBRARY}
  COMMAND_ERROR_IS_FATAL ANY)
